// The running program's path on Windows, from its module file name.
#include <optional>

#include "platform/executable_path.h"
#include "platform/windows_path.h"

namespace shifrodel {

std::optional<std::string> ExecutablePath() {
  std::wstring wide(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (n == 0) return std::nullopt;
    if (n < wide.size()) {
      wide.resize(n);
      break;
    }
    wide.resize(wide.size() * 2);  // cut short: the buffer was too small
  }
  std::string path;
  if (!Narrow(WithoutLongPrefix(wide), &path)) return std::nullopt;
  return path;
}

}  // namespace shifrodel
