// A FileSystem for tests that forwards every call to another one (normally
// the native file system) and makes chosen calls fail: by operation and by
// path, a disk that fills up after so many bytes, and a scripted free-space
// figure. It counts the calls it sees, so a test can tell what was asked.
// Calls may come from several threads at once.
//
//   FaultyFileSystem fs;                                  // over NativeFileSystem()
//   fs.Fail(FsOp::kCreateWrite, dir / "descript.ion", EACCES);
//   fs.Fail(FsOp::kCopyFile, dir / "a.jpg").Times(1);     // only the first copy fails
//   fs.FailWhere(FsOp::kOpenRead, [](std::string_view p) { return p.ends_with(".tif"); });
//   fs.FailWritesAfter(1000);                             // the disk is full after 1000 bytes
//   fs.ScriptDiskFree({30 << 20, 10 << 20, std::nullopt});  // 30 MB, then 10 MB, then unmeasurable
//   ... run the code under test with `fs` ...
//   EXPECT_EQ(fs.Calls(FsOp::kDiskFree), 3);
#ifndef SHIFRODEL_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_
#define SHIFRODEL_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel::testing {

// The operations of FileSystem, one each.
enum class FsOp {
  kListFolder,
  kFileExists,
  kFolderExists,
  kForceFolders,
  kCopyFile,
  kDeleteFile,
  kRenameFile,
  kReplaceFile,
  kGetAttributes,
  kSetAttributes,
  kFileSize,
  kReadWholeFile,
  kWriteFileAtomically,
  kGetLastWriteDosTime,
  kSetLastWriteDosTime,
  kDiskFree,
  kCanonicalPath,
  kOpenRead,
  kCreateWrite,
  kCount,  // the number of operations, not one of them
};

// The error number an injected failure reports unless the test names one:
// EIO on POSIX systems, ERROR_ACCESS_DENIED on Windows (both 5).
inline constexpr int kInjectedError = 5;

using PathMatch = std::function<bool(std::string_view path)>;

class FaultyFileSystem final : public FileSystem {
 public:
  // One chosen failure; the calls that set it up return it so that a test
  // can narrow it further.
  class Fault {
   public:
    // Only the next `count` matching calls fail; the ones after succeed.
    Fault& Times(int count) {
      remaining_ = count;
      return *this;
    }

   private:
    friend class FaultyFileSystem;
    FsOp op_ = FsOp::kCount;
    PathMatch match_;
    int os_error_ = kInjectedError;
    int remaining_ = -1;  // -1: every matching call
  };

  explicit FaultyFileSystem(FileSystem& inner = NativeFileSystem());

  // `op` fails for `path`, compared byte for byte (Windows-1251, as the core
  // passes it). An operation on two paths fails when either one matches.
  // What failing means is the operation's own failure result: false, nullopt,
  // no file; OpenRead and CreateWrite also report `os_error`.
  Fault& Fail(FsOp op, std::string path, int os_error = kInjectedError);
  // `op` fails for every path that `match` accepts; without one, for all.
  Fault& FailWhere(FsOp op, PathMatch match = nullptr, int os_error = kInjectedError);

  // A disk that fills up: the writes into files whose paths `match` accepts
  // (every file without one) share `bytes` bytes of room. File::Write puts
  // what still fits into the file and then returns false; WriteFileAtomically
  // and CopyFile fail whole, leaving everything as it was, when their content
  // does not fit, and use no room then. Room used is not given back when a
  // file is deleted.
  void FailWritesAfter(std::int64_t bytes, PathMatch match = nullptr);

  // DiskFree reports these free byte counts in turn, the last one for every
  // later call; nullopt stands for a disk that cannot be measured. `volume`
  // is reported as the volume. Without a script DiskFree asks the inner file
  // system.
  void ScriptDiskFree(std::vector<std::optional<std::uint64_t>> free_bytes,
                      std::string volume = "scripted");

  // Forgets every fault, the disk room and the free-space script (not the
  // counts of calls).
  void Clear();

  // How many calls of `op` were made, on any path or with `path` among its
  // paths; failed calls count too.
  int Calls(FsOp op) const;
  int Calls(FsOp op, std::string_view path) const;

  std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool ForceFolders(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  std::optional<std::int64_t> FileSize(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteFileAtomically(const std::string& path, std::string_view content) override;
  std::optional<std::uint32_t> GetLastWriteDosTime(const std::string& path) override;
  bool SetLastWriteDosTime(const std::string& path, std::uint32_t dos_time) override;
  std::optional<DiskSpace> DiskFree(const std::string& path) override;
  std::optional<std::string> CanonicalPath(const std::string& path) override;
  std::unique_ptr<File> OpenRead(const std::string& path, int* os_error = nullptr) override;
  std::unique_ptr<File> CreateWrite(const std::string& path, int* os_error = nullptr) override;

 private:
  class LimitedFile;
  struct Room {
    std::int64_t left = 0;
    PathMatch match;
  };

  // Counts the call and tells whether it is to fail (and with which error).
  // A call on two paths fails when either path matches.
  bool Fails(FsOp op, std::initializer_list<std::string_view> paths, int* os_error = nullptr);
  // The disk room that writes into `path` draw from, or null.
  std::shared_ptr<Room> RoomFor(const std::string& path);

  FileSystem& inner_;
  // The jobs may call from worker threads (conversion ahead of the file step).
  mutable std::mutex mutex_;
  std::deque<Fault> faults_;  // a deque, so that the references handed out stay valid
  std::vector<std::shared_ptr<Room>> rooms_;  // shared with the files open on them
  std::vector<std::optional<std::uint64_t>> free_script_;
  std::size_t free_next_ = 0;
  std::string free_volume_;
  std::array<int, static_cast<std::size_t>(FsOp::kCount)> calls_{};
  std::vector<std::pair<FsOp, std::string>> call_paths_;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_
