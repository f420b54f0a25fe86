#include "support/small_disk.h"

#ifndef _WIN32
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

#include <string_view>

#include "platform/file_system.h"
#include "text/cp1251_codec.h"

namespace shifrodel::testing {

#ifdef _WIN32

SmallDisk::SmallDisk(std::uint64_t) {}
SmallDisk::~SmallDisk() = default;
void SmallDisk::Fill(std::uint64_t) const {}

#else

SmallDisk::SmallDisk(std::uint64_t bytes) {
  const std::string options = "size=" + std::to_string(bytes);
  mounted_ = ::mount("tmpfs", Cp1251ToUtf8(dir_.path()).c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(Cp1251ToUtf8(dir_.path()).c_str(), MNT_DETACH);
}

void SmallDisk::Fill(std::uint64_t leave_bytes) const {
  FileSystem& fs = NativeFileSystem();
  const std::string native = Cp1251ToUtf8(dir_.path());
  auto file = fs.CreateWrite(dir_ / "filler");
  if (!file) return;
  const std::string block(4096, 'f');
  for (;;) {
    struct statvfs vfs {};
    if (::statvfs(native.c_str(), &vfs) != 0) break;
    const std::uint64_t free_bytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    if (free_bytes < leave_bytes) break;
    const std::size_t chunk = free_bytes - leave_bytes < block.size()
                                  ? static_cast<std::size_t>(free_bytes - leave_bytes + 1)
                                  : block.size();
    if (!file->Write(block.data(), chunk)) break;
  }
  file->Close();
}

#endif

}  // namespace shifrodel::testing
