// The file system on Windows, through the wide API alone. Paths arrive as
// Windows-1251 and are converted with our own table, so the program works
// the same whatever the system's ANSI code page is; long paths take the
// "\\?\" form.
#include <cstdio>
#include <random>

#include "platform/dos_time.h"
#include "platform/file_system.h"
#include "platform/windows_path.h"

namespace shifrodel {
namespace {

// The attribute bits that SetAttributes may change.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// The longest path the wide API takes, in characters.
constexpr DWORD kLongestPath = 32768;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) ::CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  // Closes now; false when the close failed.
  bool Close() {
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h != INVALID_HANDLE_VALUE && ::CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE h, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}

class WindowsFile final : public File {
 public:
  explicit WindowsFile(HANDLE h) : h_(h) {}

  std::int64_t Read(void* buffer, std::size_t size) override {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD read = 0;
    if (!::ReadFile(h_.get(), buffer, chunk, &read, nullptr)) return -1;
    return read;
  }
  bool Write(const void* data, std::size_t size) override { return WriteAll(h_.get(), data, size); }
  std::int64_t Seek(std::int64_t offset, int origin) override {
    DWORD method;
    switch (origin) {
      case SEEK_SET:
        method = FILE_BEGIN;
        break;
      case SEEK_CUR:
        method = FILE_CURRENT;
        break;
      case SEEK_END:
        method = FILE_END;
        break;
      default:
        return -1;
    }
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!::SetFilePointerEx(h_.get(), distance, &position, method)) return -1;
    return position.QuadPart;
  }
  std::int64_t Size() override {
    LARGE_INTEGER size;
    return ::GetFileSizeEx(h_.get(), &size) ? size.QuadPart : -1;
  }
  bool Sync() override { return ::FlushFileBuffers(h_.get()) != 0; }
  bool Close() override { return h_.Close(); }

 private:
  Handle h_;
};

DWORD Attributes(const std::string& path) { return ::GetFileAttributesW(WidePath(path).c_str()); }

bool IsReadOnly(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

// The folder part of a path, with its separator ("" when it has none).
std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The folder that holds `path`: "C:\a" for "C:\a\b", "C:\" for "C:\a", "."
// for a bare name; nullopt for a root, which has none.
std::optional<std::string> ParentOf(const std::string& path) {
  std::size_t end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  const std::size_t cut = path.find_last_of("\\/:", end - 1);
  if (cut == std::string::npos) {
    if (path == ".") return std::nullopt;
    return std::string(".");
  }
  const bool at_root =
      path[cut] == ':' || cut == 0 || path[cut - 1] == ':' || path[cut - 1] == '\\';
  std::string parent = path.substr(0, at_root ? cut + 1 : cut);
  if (parent.size() >= end) return std::nullopt;
  return parent;
}

// Creates a new file with a unique short name beside `path`; sets `*temp`.
HANDLE CreateTempBeside(const std::string& path, std::string* temp) {
  static std::mt19937 random{std::random_device{}() ^ ::GetCurrentProcessId() ^ ::GetTickCount()};
  const std::string folder = FolderOf(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[24];
    std::snprintf(name, sizeof name, ".~%08x.tmp", static_cast<unsigned>(random()));
    *temp = folder + name;
    const HANDLE h = ::CreateFileW(WidePath(*temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

// Removes a temporary file, read-only or not.
void DiscardTemp(const std::string& temp) {
  const std::wstring wide = WidePath(temp);
  ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(wide.c_str());
}

bool SetSettableAttributes(const std::wstring& wide, DWORD attributes) {
  attributes &= kSettableAttributes;
  return ::SetFileAttributesW(wide.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) !=
         0;
}

// A reparse point that names another place (a symbolic link, a junction, a
// mount point) is a link; so is one whose tag the system does not tell.
// Others (deduplicated or cloud files) are what their attributes say.
bool IsLink(DWORD attributes, DWORD reparse_tag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (reparse_tag == 0 || IsReparseTagNameSurrogate(reparse_tag));
}

class WindowsFileSystem final : public FileSystem {
 public:
  std::optional<std::vector<DirEntry>> ListFolder(const std::string& folder) override {
    std::string pattern = folder;
    if (!pattern.empty() && !IsSeparator(pattern.back()) && pattern.back() != ':') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW data;
    const HANDLE find =
        ::FindFirstFileExW(WidePath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                           nullptr, FIND_FIRST_EX_LARGE_FETCH);
    std::vector<DirEntry> entries;
    if (find == INVALID_HANDLE_VALUE) {
      // Nothing matched: an empty folder (a drive's root has no "." entry).
      const bool empty = ::GetLastError() == ERROR_FILE_NOT_FOUND &&
                         FolderExists(folder.empty() ? std::string(".") : folder);
      if (!empty) return std::nullopt;
      return entries;
    }
    do {
      const std::wstring_view name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      DirEntry entry;
      entry.name_ok = Narrow(name, &entry.name);
      entry.attributes = data.dwFileAttributes;
      if (IsLink(data.dwFileAttributes, data.dwReserved0)) {
        entry.kind = EntryKind::kLink;
        entry.attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        entry.kind = EntryKind::kFolder;
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) {
        entry.kind = EntryKind::kOther;
      } else {
        entry.kind = EntryKind::kFile;
      }
      entries.push_back(std::move(entry));
    } while (::FindNextFileW(find, &data));
    // A listing cut short by an error is no listing.
    const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(find);
    if (!complete) return std::nullopt;
    return entries;
  }

  bool FileExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::string& path) override {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool ForceFolders(const std::string& path) override {
    std::string folder = path;
    while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
    if (folder.empty()) return false;
    if (FolderExists(folder)) return true;
    const std::size_t cut = folder.find_last_of("\\/");
    // "C:", "\\server" and "\\server\share" are not made here: they are
    // there or they are not.
    if (cut != std::string::npos && cut > 0 && folder[cut - 1] != ':' && folder[cut - 1] != '\\') {
      if (!ForceFolders(folder.substr(0, cut))) return false;
    }
    if (!::CreateDirectoryW(WidePath(folder).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
    return FolderExists(folder);
  }

  // The system's copy into a temporary file beside the target, put in the
  // target's place once complete: a failed or cut-off copy leaves the target
  // as it was. The attributes are set explicitly, and a read-only target
  // refused explicitly, since not every implementation of the API does so.
  bool CopyFile(const std::string& from, const std::string& to) override {
    const DWORD source = Attributes(from);
    if (source == INVALID_FILE_ATTRIBUTES || IsReadOnly(to)) return false;
    std::string temp;
    const HANDLE h = CreateTempBeside(to, &temp);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    const std::wstring wide_temp = WidePath(temp);
    const bool ok =
        ::CopyFileW(WidePath(from).c_str(), wide_temp.c_str(), FALSE) &&
        SetSettableAttributes(wide_temp, source) &&
        ::MoveFileExW(wide_temp.c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DiscardTemp(temp);
    return ok;
  }

  bool DeleteFile(const std::string& path) override {
    return ::DeleteFileW(WidePath(path).c_str()) != 0;
  }

  bool RenameFile(const std::string& from, const std::string& to) override {
    return ::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), 0) != 0;
  }

  bool ReplaceFile(const std::string& from, const std::string& to) override {
    if (IsReadOnly(to)) return false;
    const std::wstring wide_from = WidePath(from);
    Handle h(::CreateFileW(wide_from.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid() || !::FlushFileBuffers(h.get()) || !h.Close()) return false;
    return ::MoveFileExW(wide_from.c_str(), WidePath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  std::optional<std::uint32_t> GetAttributes(const std::string& path) override {
    const DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return a;
  }

  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return SetSettableAttributes(WidePath(path), attributes);
  }

  std::optional<std::int64_t> FileSize(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return std::nullopt;
    }
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 |
                                     data.nFileSizeLow);
  }

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    Handle h(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.valid()) return std::nullopt;
    std::string content;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(h.get(), &size) && size.QuadPart > 0) {
      content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[1 << 16];
    for (;;) {
      DWORD read = 0;
      if (!::ReadFile(h.get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
      if (read == 0) break;
      content.append(buffer, read);
    }
    return content;
  }

  bool WriteFileAtomically(const std::string& path, std::string_view content) override {
    std::string temp;
    Handle h(CreateTempBeside(path, &temp));
    if (!h.valid()) return false;
    const bool written = WriteAll(h.get(), content.data(), content.size());
    if (!h.Close() || !written) {
      DiscardTemp(temp);
      return false;
    }
    const std::wstring wide = WidePath(path);
    const std::wstring wide_temp = WidePath(temp);
    const DWORD old = ::GetFileAttributesW(wide.c_str());
    const bool existed = old != INVALID_FILE_ATTRIBUTES;
    // The new file takes the old one's attributes; a read-only file would
    // refuse to be replaced, so it is writable for the moment of the move.
    if (existed)
      SetSettableAttributes(wide_temp, old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    const bool read_only = existed && (old & FILE_ATTRIBUTE_READONLY);
    if (read_only) SetSettableAttributes(wide, old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (!::MoveFileExW(wide_temp.c_str(), wide.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      if (read_only) SetSettableAttributes(wide, old);
      DiscardTemp(temp);
      return false;
    }
    if (read_only) SetSettableAttributes(wide, old);
    return true;
  }

  std::optional<std::uint32_t> GetLastWriteDosTime(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        !::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !::FileTimeToDosDateTime(&local, &date, &time)) {
      return std::nullopt;
    }
    return static_cast<std::uint32_t>(date) << 16 | time;
  }

  bool SetLastWriteDosTime(const std::string& path, std::uint32_t dos_time) override {
    if (!IsValidDosTime(dos_time)) return false;
    FILETIME local;
    FILETIME utc;
    if (!::DosDateTimeToFileTime(static_cast<WORD>(dos_time >> 16),
                                 static_cast<WORD>(dos_time & 0xFFFF), &local) ||
        !::LocalFileTimeToFileTime(&local, &utc)) {
      return false;
    }
    // Write access to the attributes alone, which a read-only file allows;
    // the creation and last-access times are left as they are.
    Handle h(::CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.valid() && ::SetFileTime(h.get(), nullptr, nullptr, &utc) && h.Close();
  }

  std::optional<DiskSpace> DiskFree(const std::string& path) override {
    // A path not created yet is measured on its nearest existing folder.
    std::string existing = path.empty() ? std::string(".") : path;
    while (Attributes(existing) == INVALID_FILE_ATTRIBUTES) {
      std::optional<std::string> parent = ParentOf(existing);
      if (!parent) return std::nullopt;
      existing = std::move(*parent);
    }
    const std::wstring wide = WidePath(existing);
    std::wstring root(wide.size() + MAX_PATH, L'\0');
    if (!::GetVolumePathNameW(wide.c_str(), root.data(), static_cast<DWORD>(root.size()))) {
      return std::nullopt;
    }
    root.resize(root.find(L'\0'));
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    ULARGE_INTEGER total_free;
    // The disk's free bytes, not the share of them that a quota leaves the user.
    if (!::GetDiskFreeSpaceExW(root.c_str(), &available, &total, &total_free)) return std::nullopt;
    DiskSpace space;
    space.free_bytes = total_free.QuadPart;
    Narrow(WithoutLongPrefix(root), &space.volume);
    return space;
  }

  std::optional<std::string> CanonicalPath(const std::string& path) override {
    Handle h(::CreateFileW(WidePath(path).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid()) return std::nullopt;
    std::wstring final_path(kLongestPath, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h.get(), final_path.data(), kLongestPath,
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) {
      // Where the system cannot tell the handle's path (wine, for a long
      // one), the full path name serves, absolute but with links unresolved.
      n = ::GetFullPathNameW(WidePath(path).c_str(), kLongestPath, final_path.data(), nullptr);
    }
    if (n == 0 || n >= kLongestPath) return std::nullopt;
    final_path.resize(n);
    std::string out;
    if (!Narrow(WithoutLongPrefix(final_path), &out)) return std::nullopt;
    return out;
  }

  std::unique_ptr<File> OpenRead(const std::string& path, int* os_error) override {
    return Open(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                false, os_error);
  }

  // OPEN_ALWAYS and then a cut to nothing, not CREATE_ALWAYS, which refuses
  // an existing hidden or system file unless told its attributes.
  // A read-only file is refused explicitly: wine run by root would open it.
  std::unique_ptr<File> CreateWrite(const std::string& path, int* os_error) override {
    if (IsReadOnly(path)) {
      ::SetLastError(ERROR_ACCESS_DENIED);
      return Open(INVALID_HANDLE_VALUE, false, os_error);
    }
    return Open(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
                true, os_error);
  }

 private:
  static std::unique_ptr<File> Open(HANDLE h, bool truncate, int* os_error) {
    if (h != INVALID_HANDLE_VALUE && truncate && !::SetEndOfFile(h)) {
      const DWORD error = ::GetLastError();
      ::CloseHandle(h);
      ::SetLastError(error);
      h = INVALID_HANDLE_VALUE;
    }
    if (h == INVALID_HANDLE_VALUE) {
      if (os_error != nullptr) *os_error = static_cast<int>(::GetLastError());
      return nullptr;
    }
    if (os_error != nullptr) *os_error = 0;
    return std::make_unique<WindowsFile>(h);
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static WindowsFileSystem fs;
  return fs;
}

}  // namespace shifrodel
