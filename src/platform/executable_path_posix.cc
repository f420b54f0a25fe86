// The running program's path on Linux: the kernel's link /proc/self/exe.
#include <unistd.h>

#include <string>

#include "platform/executable_path.h"
#include "text/cp1251_codec.h"

namespace shifrodel {

std::optional<std::string> ExecutablePath() {
  std::string native(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", native.data(), native.size());
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) < native.size()) {
      native.resize(static_cast<std::size_t>(n));
      break;
    }
    native.resize(native.size() * 2);
  }
  std::string path;
  if (!Utf8ToCp1251(native, &path)) return std::nullopt;
  return path;
}

}  // namespace shifrodel
