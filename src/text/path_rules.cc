#include "text/path_rules.h"

namespace shifrodel {

std::size_t LastDelimiter(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathDelimiter(path[i - 1], style)) return i - 1;
  }
  return std::string_view::npos;
}

std::string_view ExtractFileName(std::string_view path, PathStyle style) {
  const std::size_t d = LastDelimiter(path, style);
  return d == std::string_view::npos ? path : path.substr(d + 1);
}

std::string_view ExtractFileFolder(std::string_view path, PathStyle style) {
  const std::size_t d = LastDelimiter(path, style);
  return d == std::string_view::npos ? std::string_view() : path.substr(0, d + 1);
}

namespace {

std::size_t ExtensionStart(std::string_view path, PathStyle style) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return dot;
  const std::size_t d = LastDelimiter(path, style);
  if (d != std::string_view::npos && d > dot) return std::string_view::npos;
  return dot;
}

}  // namespace

std::string_view ExtractFileExt(std::string_view path, PathStyle style) {
  const std::size_t dot = ExtensionStart(path, style);
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext, PathStyle style) {
  const std::size_t dot = ExtensionStart(path, style);
  std::string out(dot == std::string_view::npos ? path : path.substr(0, dot));
  out += ext;
  return out;
}

std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style) {
  std::string out;
  out.reserve(folder.size() + 1 + name.size());
  out += folder;
  out += PathDelim(style);
  out += name;
  return out;
}

}  // namespace shifrodel
