// The Windows API as the platform layer uses it: <windows.h> without the
// macros that would rename our own functions, and paths turned from the
// core's Windows-1251 into UTF-16 with our own table (never the system's
// ANSI code page, which need not be 1251), in the "\\?\" form when long.
#ifndef SHIFRODEL_PLATFORM_WINDOWS_PATH_H_
#define SHIFRODEL_PLATFORM_WINDOWS_PATH_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#undef CopyFile
#undef DeleteFile
#undef ReplaceFile

#include <string>
#include <string_view>

namespace shifrodel {

// Windows-1251 text as UTF-16, and back (false when a character has no
// Windows-1251 form; "?" then stands in its place).
std::wstring Widen(std::string_view cp1251);
bool Narrow(std::wstring_view wide, std::string* cp1251);

// A path for the wide API: converted, and made absolute with the "\\?\"
// (or "\\?\UNC\") prefix when it would otherwise pass the length that the
// plain form allows. Shorter paths keep their form, relative ones included.
std::wstring WidePath(std::string_view cp1251);

// A path that the system gave back, without a "\\?\" or "\\?\UNC\" prefix.
std::wstring WithoutLongPrefix(std::wstring path);

}  // namespace shifrodel

#endif  // SHIFRODEL_PLATFORM_WINDOWS_PATH_H_
