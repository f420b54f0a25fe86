#include "settings/profile_file.h"

#include <utility>

#include "text/case_tables.h"
#include "text/trim.h"

namespace shifrodel {
namespace {

constexpr std::size_t kNone = std::string::npos;

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  return Trim(line.substr(0, line.find(']')));
}

// The key of a "key=value" line, or nullopt for comments and other lines.
std::optional<std::string_view> KeyName(std::string_view line) {
  line = TrimLeft(line);
  if (line.empty() || line.front() == ';') return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == kNone) return std::nullopt;
  const std::string_view key = TrimRight(line.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return key;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    text.remove_prefix(end == kNone ? text.size() : end + 1);
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

std::string OneLine(std::string_view value) {
  std::string line(value);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

}  // namespace

ProfileFile::ProfileFile(FileSystem& fs, std::string path)
    : fs_(fs), path_(std::move(path)), lines_(SplitLines(fs_.ReadWholeFile(path_).value_or(""))) {}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(section);
  if (header == kNone) return std::nullopt;
  const std::size_t line = FindKey(header, key);
  if (line == kNone) return std::nullopt;
  const std::string_view text = lines_[line];
  return std::string(Unquote(Trim(text.substr(text.find('=') + 1))));
}

bool ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  std::vector<std::string> before = lines_;
  std::string line = std::string(key) + "=" + OneLine(value);
  const std::size_t header = FindSection(section);
  if (header == kNone) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
  } else if (const std::size_t at = FindKey(header, key); at != kNone) {
    lines_[at] = std::move(line);
  } else {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(EndOfSection(header)),
                  std::move(line));
  }
  if (fs_.WriteFileAtomically(path_, JoinLines(lines_))) return true;
  lines_ = std::move(before);
  return false;
}

std::size_t ProfileFile::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (name && SameTextCaseless(*name, Trim(section))) return i;
  }
  return kNone;
}

std::size_t ProfileFile::FindKey(std::size_t header, std::string_view key) const {
  for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    const auto name = KeyName(lines_[i]);
    if (name && SameTextCaseless(*name, Trim(key))) return i;
  }
  return kNone;
}

std::size_t ProfileFile::EndOfSection(std::size_t header) const {
  std::size_t end = header + 1;
  for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
    if (!Trim(lines_[i]).empty()) end = i + 1;
  }
  return end;
}

}  // namespace shifrodel
