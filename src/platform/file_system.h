// The only door to the operating system's files, folders and disks. Paths
// and names are Windows-1251 text and use the platform's separator; each
// implementation converts them to the OS's own form (UTF-8 on POSIX systems,
// UTF-16 through the wide API on Windows). The jobs receive a FileSystem
// by reference, so tests can hand them one that injects failures.
#ifndef SHIFRODEL_PLATFORM_FILE_SYSTEM_H_
#define SHIFRODEL_PLATFORM_FILE_SYSTEM_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shifrodel {

// File attribute bits, with the values Windows gives them. On POSIX systems
// kReadOnly means "the owner may not write", kHidden "the name begins with a
// full stop", and kSystem and kArchive are never set. A link (symbolic link,
// junction) carries kAttrReparsePoint and never kAttrDirectory, so that
// nothing takes it for a folder to descend into.
enum FileAttribute : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  kAttrReparsePoint = 0x400,
};

// Whether files carry the DOS attributes (read-only, hidden, system,
// archive) of their own, as on Windows; POSIX systems have permission bits
// instead, which the program keeps as they are.
#ifdef _WIN32
inline constexpr bool kDosFileAttributes = true;
#else
inline constexpr bool kDosFileAttributes = false;
#endif

enum class EntryKind {
  kFile,
  kFolder,
  kLink,   // a symbolic link, junction or other reparse point: never descended into
  kOther,  // device, socket, pipe
};

struct DirEntry {
  // The entry's name in Windows-1251. When `name_ok` is false the OS name has
  // characters that Windows-1251 cannot represent (or is malformed), and
  // `name` holds "?" in their places: it may be shown, never used as a path.
  std::string name;
  bool name_ok = true;
  EntryKind kind = EntryKind::kFile;
  std::uint32_t attributes = 0;
};

// Free space of the file system that holds a path.
struct DiskSpace {
  // All free bytes this process may fill, whatever a user's disk quota says.
  // On Linux the blocks a file system keeps for root count only for root.
  std::uint64_t free_bytes = 0;
  // Where that file system is mounted: the mount point on POSIX systems
  // ("/media/archive"), the volume root on Windows ("G:\").
  std::string volume;
};

// An open file. Every call reports failure by its result; nothing throws.
class File {
 public:
  virtual ~File() = default;
  // Bytes read (0 at the end), or -1 on an error.
  virtual std::int64_t Read(void* buffer, std::size_t size) = 0;
  // True when every byte was written.
  virtual bool Write(const void* data, std::size_t size) = 0;
  // `origin` as for fseek: SEEK_SET, SEEK_CUR or SEEK_END. Returns the new
  // position or -1.
  virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;
  virtual std::int64_t Size() = 0;
  // Flushes the data to the medium.
  virtual bool Sync() = 0;
  // Closes the file; false when a pending write failed.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Every entry of a folder but "." and "..", in the order the file system
  // delivers them; nullopt when the folder cannot be listed.
  virtual std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder) = 0;

  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates a folder with every missing parent; true when it exists afterwards.
  virtual bool ForceFolders(const std::string& path) = 0;

  // Copies a file as the system's copy does, replacing the target: the copy
  // has the source's content, last-write time and read-only state. On
  // failure the target is as it was and nothing half-written is left behind.
  // On Windows a read-only target is not replaced.
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Renames a file; fails when the target exists (on Windows a change of
  // letter case alone is a rename, not a clash).
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Puts `from` in the place of `to` in one atomic step, durably: at no moment
  // is `to` missing. `from` must lie in the same folder. On POSIX systems it
  // takes on `to`'s permission bits (and owner, where allowed).
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;

  virtual std::optional<std::uint32_t> GetAttributes(const std::string& path) = 0;
  // Sets the attribute bits that the platform has; the others are ignored.
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

  virtual std::optional<std::int64_t> FileSize(const std::string& path) = 0;
  // The whole file, or nullopt when it cannot be opened or read in full.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Writes a file anew through a temporary file in the same folder, put in
  // place atomically once complete: on failure the old file stays as it was
  // and no temporary file is left. It is not flushed to the medium (the copy
  // run writes tens of thousands of these). An existing file's permission
  // bits (POSIX) or attributes (Windows) are kept, read-only ones included.
  virtual bool WriteFileAtomically(const std::string& path, std::string_view content) = 0;

  // Last-write time as a DOS date and time: local time, even seconds.
  virtual std::optional<std::uint32_t> GetLastWriteDosTime(const std::string& path) = 0;
  // Sets the last-write time alone, from local time.
  virtual bool SetLastWriteDosTime(const std::string& path, std::uint32_t dos_time) = 0;

  // Free space of the file system holding `path`, or of its nearest existing
  // parent folder; nullopt when it cannot be measured.
  virtual std::optional<DiskSpace> DiskFree(const std::string& path) = 0;

  // The absolute path with links resolved, or nullopt when it does not exist.
  virtual std::optional<std::string> CanonicalPath(const std::string& path) = 0;

  // `os_error` receives the system's error number on failure (errno on POSIX
  // systems, GetLastError() on Windows) and 0 on success.
  //
  // Opens an existing file for reading (others may read it too).
  virtual std::unique_ptr<File> OpenRead(const std::string& path, int* os_error = nullptr) = 0;
  // Creates a file for writing, truncating an existing one, which keeps its
  // attributes (a hidden file stays hidden). On Windows others may read it
  // meanwhile, not write it.
  virtual std::unique_ptr<File> CreateWrite(const std::string& path, int* os_error = nullptr) = 0;
};

// The real file system of the platform this program was built for.
FileSystem& NativeFileSystem();

}  // namespace shifrodel

#endif  // SHIFRODEL_PLATFORM_FILE_SYSTEM_H_
