#include "descr/description_list.h"

#include <string_view>

#include "text/case_tables.h"
#include "text/caseless_search.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kListName = "descript.ion";

// Where the described file's name begins: after the last delimiter of the
// platform, or a "/" (which Windows accepts as well).
std::size_t NameStart(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsPathDelimiter(path[i]) || path[i] == '/') start = i + 1;
  }
  return start;
}

// The list's new content: the old one with the name's line replaced (and
// its identical repeats), or with the line added at the end.
std::string UpdatedList(std::string_view list, std::string_view quoted_name,
                        std::string_view new_line) {
  std::string work;
  work.reserve(list.size() + new_line.size() + 4);
  work += kCrLf;
  work += list;
  if (work.back() != '\n') work += kCrLf;

  std::string key(kCrLf);
  key += quoted_name;
  key += ' ';
  const std::size_t found = FindCaseless(work, key);
  if (found == std::string::npos) {
    work += new_line;
    work += kCrLf;
    return work.substr(kCrLf.size());
  }

  const std::size_t old_start = found + kCrLf.size();
  const std::size_t old_end = work.find(kCrLf, old_start);
  // With no CR LF after the name (a list of lone LFs) the old line is empty
  // and nothing is replaced.
  if (old_end == std::string::npos) return std::string(list);
  const std::string_view old_line = std::string_view(work).substr(old_start, old_end - old_start);

  std::string out;
  out.reserve(work.size() + new_line.size());
  std::size_t line_start = kCrLf.size();
  for (;;) {
    const std::size_t line_end = work.find(kCrLf, line_start);
    if (line_end == std::string::npos) {
      out += std::string_view(work).substr(line_start);
      break;
    }
    const std::string_view line = std::string_view(work).substr(line_start, line_end - line_start);
    out += SameTextCaseless(line, old_line) ? new_line : line;
    out += kCrLf;
    line_start = line_end + kCrLf.size();
  }
  return out;
}

}  // namespace

void SetFileDescription(FileSystem& fs, const std::string& path, const std::string& description) {
  const std::size_t name_start = NameStart(path);
  const std::string list_path = path.substr(0, name_start) + std::string(kListName);
  const std::string_view name = std::string_view(path).substr(name_start);

  std::string quoted_name(name);
  if (quoted_name.find(' ') != std::string::npos) quoted_name = '"' + quoted_name + '"';
  const std::string new_line = quoted_name + ' ' + description;

  const bool existed = fs.FileExists(list_path);
  std::string content;
  if (existed) {
    // A list that cannot be read in full keeps every line it has.
    const std::optional<std::string> old_list = fs.ReadWholeFile(list_path);
    if (!old_list) return;
    content = UpdatedList(*old_list, quoted_name, new_line);
  } else {
    content = new_line;
  }

  if (kDosFileAttributes && existed) fs.SetAttributes(list_path, kAttrNormal);
  fs.WriteFileAtomically(list_path, content);
  if (kDosFileAttributes) fs.SetAttributes(list_path, kAttrHidden);
}

}  // namespace shifrodel
