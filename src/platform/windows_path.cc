#include "platform/windows_path.h"

#include "text/cp1251_codec.h"

namespace shifrodel {
namespace {

// Folders may not be created by the plain form once the path reaches
// MAX_PATH less room for an 8.3 name; files stop at MAX_PATH itself.
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

bool StartsWith(std::wstring_view s, std::wstring_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::wstring FullPathName(const std::wstring& path) {
  std::wstring full(path.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return path;
    if (n < full.size()) {
      full.resize(n);
      return full;
    }
    full.resize(n);
  }
}

}  // namespace

std::wstring Widen(std::string_view cp1251) {
  const std::u16string utf16 = Cp1251ToUtf16(cp1251);
  return std::wstring(utf16.begin(), utf16.end());
}

bool Narrow(std::wstring_view wide, std::string* cp1251) {
  return Utf16ToCp1251(std::u16string(wide.begin(), wide.end()), cp1251);
}

std::wstring WidePath(std::string_view cp1251) {
  std::wstring path = Widen(cp1251);
  if (path.empty() || StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) return path;
  std::wstring full = FullPathName(path);
  if (full.size() < kPlainPathLimit) return path;
  // The prefixed form takes the path as it stands: GetFullPathNameW has
  // already turned "/" into "\" and resolved "." and "..".
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring WithoutLongPrefix(std::wstring path) {
  if (StartsWith(path, L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (StartsWith(path, L"\\\\?\\")) return path.substr(4);
  return path;
}

}  // namespace shifrodel
