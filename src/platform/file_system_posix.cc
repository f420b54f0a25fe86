// The file system on POSIX systems. Paths arrive as Windows-1251 and are
// handed to the OS as UTF-8; names read from the OS go back to Windows-1251.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "platform/dos_time.h"
#include "platform/file_system.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

std::string Native(const std::string& path) { return Cp1251ToUtf8(path); }

int RetryOpen(const std::string& native, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(native.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  std::int64_t Read(void* buffer, std::size_t size) override {
    ssize_t n;
    do {
      n = ::read(fd_, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
  }
  bool Write(const void* data, std::size_t size) override { return WriteAll(fd_, data, size); }
  std::int64_t Seek(std::int64_t offset, int origin) override {
    return ::lseek(fd_, static_cast<off_t>(offset), origin);
  }
  std::int64_t Size() override {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? st.st_size : -1;
  }
  bool Sync() override { return ::fsync(fd_) == 0; }
  bool Close() override {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
  }

 private:
  int fd_;
};

// The folder part of a native path, for fsync after a rename ("." when none).
std::string NativeFolderOf(const std::string& native) {
  const std::size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return native.substr(0, slash);
}

void SyncFolder(const std::string& native_folder) {
  const int fd = RetryOpen(native_folder, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Creates a new file beside `native` with a unique hidden name and returns
// its fd, setting `*temp`; the name is short so that it fits wherever the
// target's name does. `mode` is subject to the umask, as for open().
int CreateTempBeside(const std::string& native, std::string* temp, mode_t mode = 0666) {
  static thread_local std::mt19937 random{std::random_device{}()};
  const std::size_t slash = native.rfind('/');
  const std::string prefix =
      slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[24];
    std::snprintf(name, sizeof name, ".~%08x.tmp", static_cast<unsigned>(random()));
    *temp = prefix + name;
    const int fd = RetryOpen(*temp, O_WRONLY | O_CREAT | O_EXCL, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool StatNative(const std::string& native, struct stat* st) {
  return ::stat(native.c_str(), st) == 0;
}

std::uint32_t AttributesOf(const struct stat& st, std::string_view name) {
  std::uint32_t a = 0;
  if (S_ISDIR(st.st_mode)) a |= kAttrDirectory;
  if (S_ISLNK(st.st_mode)) a |= kAttrReparsePoint;
  if (!(st.st_mode & S_IWUSR)) a |= kAttrReadOnly;
  if (!name.empty() && name[0] == '.') a |= kAttrHidden;
  return a == 0 ? kAttrNormal : a;
}

EntryKind KindOf(const struct stat& st) {
  if (S_ISLNK(st.st_mode)) return EntryKind::kLink;
  if (S_ISDIR(st.st_mode)) return EntryKind::kFolder;
  if (S_ISREG(st.st_mode)) return EntryKind::kFile;
  return EntryKind::kOther;
}

class PosixFileSystem final : public FileSystem {
 public:
  std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder) override {
    const std::string native = folder.empty() ? std::string(".") : Native(folder);
    DIR* dir = ::opendir(native.c_str());
    if (dir == nullptr) return std::nullopt;
    std::vector<DirEntry> entries;
    const int dir_fd = ::dirfd(dir);
    for (;;) {
      errno = 0;
      const dirent* e = ::readdir(dir);
      if (e == nullptr) break;
      const std::string_view os_name = e->d_name;
      if (os_name == "." || os_name == "..") continue;
      DirEntry entry;
      entry.name_ok = Utf8ToCp1251(os_name, &entry.name);
      struct stat st {};
      if (::fstatat(dir_fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        entry.kind = EntryKind::kOther;
      } else {
        entry.kind = KindOf(st);
        entry.attributes = AttributesOf(st, os_name);
      }
      entries.push_back(std::move(entry));
    }
    // A listing cut short by an error is no listing: its caller would take
    // the missing entries for absent ones.
    const bool complete = errno == 0;
    ::closedir(dir);
    if (!complete) return std::nullopt;
    return entries;
  }

  bool FileExists(const std::string& path) override {
    struct stat st {};
    return StatNative(Native(path), &st) && !S_ISDIR(st.st_mode);
  }

  bool FolderExists(const std::string& path) override {
    struct stat st {};
    return StatNative(Native(path), &st) && S_ISDIR(st.st_mode);
  }

  bool ForceFolders(const std::string& path) override {
    std::string native = Native(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    if (native.empty()) return false;
    struct stat st {};
    for (std::size_t i = 1; i <= native.size(); ++i) {
      if (i < native.size() && native[i] != '/') continue;
      // Existing parts are not created again: mkdir may report another error
      // than EEXIST for them (a read-only mount, a folder we may not write).
      const std::string part = native.substr(0, i);
      if (!StatNative(part, &st) && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
        return false;
      }
    }
    return StatNative(native, &st) && S_ISDIR(st.st_mode);
  }

  // Like the system's copy on Windows, the copy takes the source's
  // last-write time and its permission bits (less the umask).
  bool CopyFile(const std::string& from, const std::string& to) override {
    const int in = RetryOpen(Native(from), O_RDONLY);
    if (in < 0) return false;
    struct stat source {};
    if (::fstat(in, &source) != 0 || !S_ISREG(source.st_mode)) {
      ::close(in);
      return false;
    }
    const std::string native_to = Native(to);
    std::string temp;
    const int out = CreateTempBeside(native_to, &temp, source.st_mode & 0777);
    if (out < 0) {
      ::close(in);
      return false;
    }
    bool ok = true;
    char buffer[1 << 16];
    for (;;) {
      const ssize_t n = ::read(in, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok = n == 0;
        break;
      }
      if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) {
        ok = false;
        break;
      }
    }
    ::close(in);
    const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    ok = ok && ::futimens(out, times) == 0;
    ok = ::close(out) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), native_to.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
  }

  bool DeleteFile(const std::string& path) override { return ::unlink(Native(path).c_str()) == 0; }

  bool RenameFile(const std::string& from, const std::string& to) override {
    const std::string native_from = Native(from);
    const std::string native_to = Native(to);
    if (::renameat2(AT_FDCWD, native_from.c_str(), AT_FDCWD, native_to.c_str(), RENAME_NOREPLACE) ==
        0) {
      return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: a hard link fails on an
    // existing target just as well.
    if (::link(native_from.c_str(), native_to.c_str()) != 0) return false;
    ::unlink(native_from.c_str());
    return true;
  }

  bool ReplaceFile(const std::string& from, const std::string& to) override {
    const std::string native_from = Native(from);
    const std::string native_to = Native(to);
    const int fd = RetryOpen(native_from, O_RDONLY);
    if (fd < 0) return false;
    // The file taking the place keeps the permission bits (and, where
    // allowed, the owner) of the one it replaces.
    struct stat old {};
    bool ok = true;
    if (StatNative(native_to, &old)) {
      ok = ::fchmod(fd, old.st_mode & 07777) == 0;
      if (ok && ::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) ok = false;
    }
    ok = ok && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok || ::rename(native_from.c_str(), native_to.c_str()) != 0) return false;
    SyncFolder(NativeFolderOf(native_to));
    return true;
  }

  std::optional<std::uint32_t> GetAttributes(const std::string& path) override {
    struct stat st {};
    if (!StatNative(Native(path), &st)) return std::nullopt;
    return AttributesOf(st, ExtractFileName(path));
  }

  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    const std::string native = Native(path);
    struct stat st {};
    if (!StatNative(native, &st)) return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & kAttrReadOnly) {
      mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else if (!(mode & S_IWUSR)) {
      mode |= S_IWUSR;
    }
    return mode == (st.st_mode & 07777) || ::chmod(native.c_str(), mode) == 0;
  }

  std::optional<std::int64_t> FileSize(const std::string& path) override {
    struct stat st {};
    if (!StatNative(Native(path), &st) || S_ISDIR(st.st_mode)) return std::nullopt;
    return st.st_size;
  }

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    const int fd = RetryOpen(Native(path), O_RDONLY);
    if (fd < 0) return std::nullopt;
    std::string content;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) content.reserve(st.st_size);
    char buffer[1 << 16];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        ::close(fd);
        return std::nullopt;
      }
      if (n == 0) break;
      content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
  }

  bool WriteFileAtomically(const std::string& path, std::string_view content) override {
    const std::string native = Native(path);
    std::string temp;
    const int fd = CreateTempBeside(native, &temp);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, content.data(), content.size());
    struct stat old {};
    if (ok && StatNative(native, &old)) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), native.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
  }

  std::optional<std::uint32_t> GetLastWriteDosTime(const std::string& path) override {
    struct stat st {};
    if (!StatNative(Native(path), &st)) return std::nullopt;
    tm local{};
    if (::localtime_r(&st.st_mtime, &local) == nullptr) return std::nullopt;
    return PackDosTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec});
  }

  bool SetLastWriteDosTime(const std::string& path, std::uint32_t dos_time) override {
    if (!IsValidDosTime(dos_time)) return false;
    const LocalDateTime t = UnpackDosTime(dos_time);
    tm local{};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    local.tm_isdst = -1;
    const time_t when = ::mktime(&local);
    if (when == static_cast<time_t>(-1)) return false;
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = when;
    times[1].tv_nsec = 0;
    return ::utimensat(AT_FDCWD, Native(path).c_str(), times, 0) == 0;
  }

  std::optional<DiskSpace> DiskFree(const std::string& path) override {
    std::string native = Native(path);
    if (native.empty()) native = ".";
    struct stat st {};
    // A path not created yet is measured on its nearest existing folder.
    while (!StatNative(native, &st)) {
      while (native.size() > 1 && native.back() == '/') native.pop_back();
      const std::size_t slash = native.rfind('/');
      if (native == "." || native == "/") return std::nullopt;
      if (slash == std::string::npos) {
        native = ".";
      } else {
        native = slash == 0 ? "/" : native.substr(0, slash);
      }
    }
    struct statvfs vfs {};
    if (::statvfs(native.c_str(), &vfs) != 0) return std::nullopt;
    DiskSpace space;
    const fsblkcnt_t blocks = ::geteuid() == 0 ? vfs.f_bfree : vfs.f_bavail;
    space.free_bytes = static_cast<std::uint64_t>(blocks) * vfs.f_frsize;
    space.volume = MountPointOf(native, st.st_dev);
    return space;
  }

  std::optional<std::string> CanonicalPath(const std::string& path) override {
    char* resolved = ::realpath(Native(path).c_str(), nullptr);
    if (resolved == nullptr) return std::nullopt;
    std::string out;
    const bool ok = Utf8ToCp1251(resolved, &out);
    std::free(resolved);
    if (!ok) return std::nullopt;
    return out;
  }

  std::unique_ptr<File> OpenRead(const std::string& path, int* os_error) override {
    return OpenWith(path, O_RDONLY, os_error);
  }

  std::unique_ptr<File> CreateWrite(const std::string& path, int* os_error) override {
    return OpenWith(path, O_WRONLY | O_CREAT | O_TRUNC, os_error);
  }

 private:
  static std::unique_ptr<File> OpenWith(const std::string& path, int flags, int* os_error) {
    const int fd = RetryOpen(Native(path), flags, 0666);
    if (fd < 0) {
      if (os_error != nullptr) *os_error = errno;
      return nullptr;
    }
    if (os_error != nullptr) *os_error = 0;
    return std::make_unique<PosixFile>(fd);
  }

  // The topmost folder above `native` on the same device: its mount point.
  static std::string MountPointOf(const std::string& native, dev_t device) {
    char* resolved = ::realpath(native.c_str(), nullptr);
    if (resolved == nullptr) return std::string();
    std::string mount = resolved;
    std::free(resolved);
    while (mount != "/") {
      const std::size_t slash = mount.rfind('/');
      const std::string parent = slash == 0 ? "/" : mount.substr(0, slash);
      struct stat st {};
      if (!StatNative(parent, &st) || st.st_dev != device) break;
      mount = parent;
    }
    std::string out;
    Utf8ToCp1251(mount, &out);
    return out;
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace shifrodel
