// Path rules on Windows-1251 paths. On Windows a path's parts are split at
// the last "\" or ":" (":" ends a drive); on POSIX systems at the last "/"
// only, so a Linux file name may hold "\" or ":" without being split.
#ifndef SHIFRODEL_TEXT_PATH_RULES_H_
#define SHIFRODEL_TEXT_PATH_RULES_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace shifrodel {

enum class PathStyle { kWindows, kPosix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::kWindows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::kPosix;
#endif

// The separator that joins a folder and a name.
constexpr char PathDelim(PathStyle style = kNativePathStyle) {
  return style == PathStyle::kWindows ? '\\' : '/';
}

// True for a character after which a path's file name begins.
constexpr bool IsPathDelimiter(char c, PathStyle style = kNativePathStyle) {
  return style == PathStyle::kWindows ? (c == '\\' || c == ':') : c == '/';
}

// Index of the last delimiter, or npos.
std::size_t LastDelimiter(std::string_view path, PathStyle style = kNativePathStyle);

// The text after the last delimiter.
std::string_view ExtractFileName(std::string_view path, PathStyle style = kNativePathStyle);

// The text up to and including the last delimiter (empty when there is none).
std::string_view ExtractFileFolder(std::string_view path, PathStyle style = kNativePathStyle);

// The text from the last full stop on, unless a delimiter follows it; else empty.
std::string_view ExtractFileExt(std::string_view path, PathStyle style = kNativePathStyle);

// Replaces the extension (as above) by `ext`, or appends `ext` when there is none.
std::string ChangeFileExt(std::string_view path, std::string_view ext,
                          PathStyle style = kNativePathStyle);

// folder + separator + name; the separator is added whatever `folder` ends with.
std::string JoinPath(std::string_view folder, std::string_view name,
                     PathStyle style = kNativePathStyle);

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_PATH_RULES_H_
