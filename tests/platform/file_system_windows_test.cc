// The native file system on Windows, checked against the wide API itself:
// what our interface reports must be what the system holds, whatever the
// system's ANSI code page (1252 under wine here).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/dos_time.h"
#include "platform/executable_path.h"
#include "platform/file_system.h"
#include "platform/windows_path.h"
#include "support/temp_dir.h"
#include "support/test_text.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

using testing::TempDir;
using testing::W;

std::wstring Wide(const TempDir& dir, const wchar_t* name) {
  return Widen(dir.path()) + L"\\" + name;
}

std::optional<DirEntry> Entry(FileSystem& fs, const std::string& folder, const std::string& name) {
  for (DirEntry& e : fs.ListFolder(folder).value_or(std::vector<DirEntry>{})) {
    if (e.name == name) return e;
  }
  return std::nullopt;
}

// FSCTL_SET_REPARSE_POINT of <winioctl.h>.
constexpr DWORD kSetReparsePoint = 0x000900A4;

TEST(WindowsFileSystem, CyrillicNamesAreTheSystemsOwnCharacters) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  // Made through the interface, seen by the wide API under their real names.
  dir.WriteFile(W("Опись.jpg"), "x");
  ASSERT_TRUE(fs.ForceFolders(dir / W("Фонд Ё")));
  EXPECT_NE(::GetFileAttributesW(Wide(dir, L"Опись.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW(Wide(dir, L"Фонд Ё").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

  // Made by the wide API, listed, copied, renamed and deleted through the interface.
  const HANDLE h = ::CreateFileW(Wide(dir, L"ф 12 оп 1 д 45 л 3.tif").c_str(), GENERIC_WRITE, 0,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  const std::string name = W("ф 12 оп 1 д 45 л 3.tif");
  const std::optional<DirEntry> e = Entry(fs, dir.path(), name);
  ASSERT_TRUE(e.has_value());
  EXPECT_TRUE(e->name_ok);
  EXPECT_EQ(e->kind, EntryKind::kFile);
  ASSERT_TRUE(fs.CopyFile(dir / name, dir / W("Ф.12.Оп.1.Д.45.Л.3.jpg")));
  EXPECT_NE(::GetFileAttributesW(Wide(dir, L"Ф.12.Оп.1.Д.45.Л.3.jpg").c_str()),
            INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(fs.RenameFile(dir / name, dir / W("ещё.tif")));
  EXPECT_NE(::GetFileAttributesW(Wide(dir, L"ещё.tif").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW(Wide(dir, L"ф 12 оп 1 д 45 л 3.tif").c_str()),
            INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(fs.DeleteFile(dir / W("ещё.tif")));
  EXPECT_EQ(::GetFileAttributesW(Wide(dir, L"ещё.tif").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WindowsFileSystem, NamesWithoutAWindows1251FormAreMarked) {
  TempDir dir;
  const HANDLE h = ::CreateFileW(Wide(dir, L"日本.jpg").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  const auto entries = NativeFileSystem().ListFolder(dir.path());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_FALSE((*entries)[0].name_ok);
  EXPECT_EQ((*entries)[0].name, "??.jpg");
}

TEST(WindowsFileSystem, AttributesAreTheSystemsBits) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("descript.ion", "x");
  const std::wstring wide = Wide(dir, L"descript.ion");
  ASSERT_TRUE(fs.SetAttributes(path, kAttrHidden | kAttrReadOnly | kAttrDirectory));
  EXPECT_EQ(::GetFileAttributesW(wide.c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE},
            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
  EXPECT_EQ(fs.GetAttributes(path).value_or(0) & ~kAttrArchive, kAttrHidden | kAttrReadOnly);
  EXPECT_FALSE(fs.DeleteFile(path));  // a read-only file refuses
  ASSERT_TRUE(fs.SetAttributes(path, kAttrNormal));
  EXPECT_EQ(::GetFileAttributesW(wide.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            0u);
  ASSERT_TRUE(fs.SetAttributes(path, kAttrHidden));
  EXPECT_EQ(Entry(fs, dir.path(), "descript.ion")->attributes & ~DWORD{FILE_ATTRIBUTE_ARCHIVE},
            kAttrHidden);
}

// The description list's way of writing: attributes normal, the list
// written anew, then hidden alone; the list ends hidden and writable even
// when it was read-only before.
TEST(WindowsFileSystem, RewrittenHiddenListStaysHiddenAndEndsWritable) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string list = dir.WriteFile("descript.ion", "a.jpg x");
  const std::wstring wide = Wide(dir, L"descript.ion");
  ASSERT_TRUE(fs.SetAttributes(list, kAttrHidden | kAttrReadOnly));
  for (const char* content : {"a.jpg y\r\n", "a.jpg y\r\nb.jpg z\r\n"}) {
    ASSERT_TRUE(fs.SetAttributes(list, kAttrNormal));
    ASSERT_TRUE(fs.WriteFileAtomically(list, content));
    ASSERT_TRUE(fs.SetAttributes(list, kAttrHidden));
    EXPECT_EQ(dir.ReadFile("descript.ion"), content);
    EXPECT_EQ(::GetFileAttributesW(wide.c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE},
              DWORD{FILE_ATTRIBUTE_HIDDEN});
  }
  // Written as it stands, the list keeps its attributes, read-only included.
  ASSERT_TRUE(fs.SetAttributes(list, kAttrHidden | kAttrReadOnly));
  ASSERT_TRUE(fs.WriteFileAtomically(list, "c.jpg"));
  EXPECT_EQ(dir.ReadFile("descript.ion"), "c.jpg");
  EXPECT_EQ(::GetFileAttributesW(wide.c_str()) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE},
            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
  // And a hidden file can be created anew in place.
  ASSERT_TRUE(fs.SetAttributes(list, kAttrHidden));
  auto file = fs.CreateWrite(list);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("d", 1));
  EXPECT_TRUE(file->Close());
  EXPECT_EQ(dir.ReadFile("descript.ion"), "d");
  EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(fs.ListFolder(dir.path())->size(), 1u);
}

TEST(WindowsFileSystem, CopyTakesTheReadOnlyStateAndRefusesAReadOnlyTarget) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string from = dir.WriteFile("from.jpg", "new");
  ASSERT_TRUE(fs.SetAttributes(from, kAttrReadOnly));
  const std::string to = dir / "to.jpg";
  ASSERT_TRUE(fs.CopyFile(from, to));
  EXPECT_NE(fs.GetAttributes(to).value_or(0) & kAttrReadOnly, 0u);
  const std::string other = dir.WriteFile("other.jpg", "other");
  EXPECT_FALSE(fs.CopyFile(other, to));
  EXPECT_EQ(dir.ReadFile("to.jpg"), "new");
  EXPECT_EQ(fs.ListFolder(dir.path())->size(), 3u);  // no temporary file left
}

TEST(WindowsFileSystem, FreeSpaceIsMeasuredOnTheVolumeRoot) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string later = JoinPath(JoinPath(dir / W("Ф. 12"), W("Оп. 1")), "x.jpg");
  const std::optional<DiskSpace> below = fs.DiskFree(later);
  ASSERT_TRUE(below.has_value());
  // The volume is the root of the drive the folder lies on: "C:\".
  ASSERT_EQ(below->volume.size(), 3u) << below->volume;
  EXPECT_EQ(below->volume.substr(1), ":\\");
  EXPECT_EQ(std::toupper(static_cast<unsigned char>(below->volume[0])),
            std::toupper(static_cast<unsigned char>(dir.path()[0])));
  for (const std::string& drive : {below->volume, below->volume.substr(0, 2)}) {
    const std::optional<DiskSpace> root = fs.DiskFree(drive);
    ASSERT_TRUE(root.has_value()) << drive;
    EXPECT_EQ(root->volume, below->volume);
    ULARGE_INTEGER available, total, total_free;
    ASSERT_TRUE(
        ::GetDiskFreeSpaceExW(Widen(below->volume).c_str(), &available, &total, &total_free));
    EXPECT_NEAR(static_cast<double>(root->free_bytes), static_cast<double>(total_free.QuadPart),
                64.0 * 1024 * 1024);
    EXPECT_GE(root->free_bytes + 64 * 1024 * 1024, available.QuadPart);
  }
  EXPECT_EQ(fs.DiskFree("Q:\\no such drive\\x.jpg"), std::nullopt);
}

TEST(WindowsFileSystem, LastWriteTimeIsTheLocalTwoSecondFormAlone) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("scan.tif", "x");
  const std::wstring wide = Wide(dir, L"scan.tif");
  FILETIME access;
  access.dwLowDateTime = 0;
  access.dwHighDateTime = 0x01C00000;  // in 1996
  {
    const HANDLE h =
        ::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(::SetFileTime(h, nullptr, &access, nullptr));
    ::CloseHandle(h);
  }
  ASSERT_TRUE(fs.SetAttributes(path, kAttrReadOnly));  // times may still be set
  ASSERT_TRUE(fs.SetLastWriteDosTime(path, *PackDosTime({2007, 10, 23, 17, 45, 58})));

  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  SYSTEMTIME t;
  ASSERT_TRUE(::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local));
  ASSERT_TRUE(::FileTimeToSystemTime(&local, &t));
  EXPECT_EQ(t.wYear, 2007);
  EXPECT_EQ(t.wMonth, 10);
  EXPECT_EQ(t.wDay, 23);
  EXPECT_EQ(t.wHour, 17);
  EXPECT_EQ(t.wMinute, 45);
  EXPECT_EQ(t.wSecond, 58);
  EXPECT_EQ(data.ftLastAccessTime.dwHighDateTime, access.dwHighDateTime);

  // An odd second reads back as the even one below it.
  t.wSecond = 59;
  t.wMilliseconds = 900;
  FILETIME odd_local, odd;
  ASSERT_TRUE(::SystemTimeToFileTime(&t, &odd_local));
  ASSERT_TRUE(::LocalFileTimeToFileTime(&odd_local, &odd));
  ASSERT_TRUE(fs.SetAttributes(path, kAttrNormal));
  {
    const HANDLE h =
        ::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(::SetFileTime(h, nullptr, nullptr, &odd));
    ::CloseHandle(h);
  }
  EXPECT_EQ(fs.GetLastWriteDosTime(path), PackDosTime({2007, 10, 23, 17, 45, 58}));
}

TEST(WindowsFileSystem, ReplaceFileSwapsInOneStep) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string target = dir.WriteFile(W("скан.tif"), "old");
  const std::string fresh = dir.WriteFile(W("скан.tif_"), "new");
  ASSERT_TRUE(fs.SetAttributes(target, kAttrHidden));
  ASSERT_TRUE(fs.ReplaceFile(fresh, target));
  EXPECT_EQ(dir.ReadFile(W("скан.tif")), "new");
  EXPECT_EQ(::GetFileAttributesW(Wide(dir, L"скан.tif_").c_str()), INVALID_FILE_ATTRIBUTES);
  // A read-only target stays, and so does the new file.
  dir.WriteFile(W("скан.tif_"), "newer");
  ASSERT_TRUE(fs.SetAttributes(target, kAttrReadOnly));
  EXPECT_FALSE(fs.ReplaceFile(fresh, target));
  EXPECT_EQ(dir.ReadFile(W("скан.tif")), "new");
  EXPECT_EQ(dir.ReadFile(W("скан.tif_")), "newer");
}

TEST(WindowsFileSystem, LongPathsTakeThePrefixedForm) {
  EXPECT_EQ(WidePath("C:\\a\\b.jpg"), L"C:\\a\\b.jpg");
  EXPECT_EQ(WidePath("a\\b.jpg"), L"a\\b.jpg");
  const std::string part(100, 'x');
  const std::string tail = "\\" + part + "\\" + part + "\\" + part;
  EXPECT_EQ(WidePath("C:\\a" + tail), L"\\\\?\\C:\\a" + Widen(tail));
  EXPECT_EQ(WidePath("C:/a" + tail), L"\\\\?\\C:\\a" + Widen(tail));
  EXPECT_EQ(WidePath("\\\\server\\share" + tail), L"\\\\?\\UNC\\server\\share" + Widen(tail));
  EXPECT_EQ(WidePath("\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
  EXPECT_EQ(WithoutLongPrefix(L"\\\\?\\UNC\\server\\share\\a"), L"\\\\server\\share\\a");
  EXPECT_EQ(WithoutLongPrefix(L"\\\\?\\C:\\a"), L"C:\\a");
}

TEST(WindowsFileSystem, PathsBeyond260CharactersWork) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  std::string deep = dir.path();
  for (int i = 0; deep.size() < 300; ++i) deep = JoinPath(deep, W("Опись ") + std::to_string(i));
  ASSERT_TRUE(fs.ForceFolders(deep));
  EXPECT_TRUE(fs.FolderExists(deep));
  const std::string list = JoinPath(deep, "descript.ion");
  ASSERT_TRUE(fs.WriteFileAtomically(list, "a.jpg x"));
  EXPECT_EQ(fs.ReadWholeFile(list), "a.jpg x");
  EXPECT_EQ(fs.FileSize(list), 7);
  ASSERT_TRUE(fs.SetAttributes(list, kAttrHidden));
  EXPECT_EQ(fs.GetAttributes(list).value_or(0) & kAttrHidden, kAttrHidden);
  ASSERT_TRUE(fs.CopyFile(list, JoinPath(deep, "copy")));
  ASSERT_TRUE(fs.RenameFile(JoinPath(deep, "copy"), JoinPath(deep, W("копия"))));
  ASSERT_TRUE(fs.SetLastWriteDosTime(list, *PackDosTime({2010, 5, 6, 7, 8, 10})));
  EXPECT_EQ(fs.GetLastWriteDosTime(list), PackDosTime({2010, 5, 6, 7, 8, 10}));
  const auto entries = fs.ListFolder(deep);
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(entries->size(), 2u);
  EXPECT_TRUE(fs.DiskFree(JoinPath(deep, "new\\x.jpg")).has_value());
  const std::optional<std::string> canonical = fs.CanonicalPath(list);
  ASSERT_TRUE(canonical.has_value());
  EXPECT_TRUE(canonical->ends_with(JoinPath(ExtractFileName(deep), "descript.ion")));
  ASSERT_TRUE(fs.DeleteFile(JoinPath(deep, W("копия"))));
  auto file = fs.OpenRead(list);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 7);
}

// Makes `link` a link to the folder `target` (both in `dir`): a symbolic
// link where the system allows one, else a junction.
bool MakeFolderLink(const TempDir& dir, const wchar_t* target, const wchar_t* link) {
  const std::wstring wide_target = Wide(dir, target);
  const std::wstring wide_link = Wide(dir, link);
  const auto is_link = [&] {
    const DWORD a = ::GetFileAttributesW(wide_link.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
  };
  if (::CreateSymbolicLinkW(
          wide_link.c_str(), wide_target.c_str(),
          SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
      is_link()) {
    return true;
  }
  if (::CreateDirectoryW(wide_link.c_str(), nullptr)) {
    const HANDLE h =
        ::CreateFileW(wide_link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // A mount-point reparse buffer: tag, sizes, then the substitute name and
    // the print name, each ending in a null character.
    const std::wstring substitute = L"\\??\\" + wide_target;
    const WORD substitute_bytes = static_cast<WORD>(substitute.size() * 2);
    const WORD print_bytes = static_cast<WORD>(wide_target.size() * 2);
    std::vector<char> buffer(16 + substitute_bytes + 2 + print_bytes + 2, '\0');
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD data_bytes = static_cast<WORD>(buffer.size() - 8);
    const WORD offsets[4] = {0, substitute_bytes, static_cast<WORD>(substitute_bytes + 2),
                             print_bytes};
    std::memcpy(buffer.data(), &tag, 4);
    std::memcpy(buffer.data() + 4, &data_bytes, 2);
    std::memcpy(buffer.data() + 8, offsets, 8);
    std::memcpy(buffer.data() + 16, substitute.data(), substitute_bytes);
    std::memcpy(buffer.data() + 16 + substitute_bytes + 2, wide_target.data(), print_bytes);
    DWORD returned = 0;
    const bool made =
        h != INVALID_HANDLE_VALUE &&
        ::DeviceIoControl(h, kSetReparsePoint, buffer.data(), static_cast<DWORD>(buffer.size()),
                          nullptr, 0, &returned, nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    if (made && is_link()) return true;
    ::RemoveDirectoryW(wide_link.c_str());
  }
  return false;
}

void RemoveFolderLink(const TempDir& dir, const wchar_t* link) {
  const std::wstring wide_link = Wide(dir, link);
  if (!::RemoveDirectoryW(wide_link.c_str())) ::DeleteFileW(wide_link.c_str());
}

// Wine creates no links through the API; its build supplies a folder with a
// host link "link" to its folder "target", which wine reports as a reparse
// point, and names it in SHIFRODEL_LINK_FIXTURE.
TEST(WindowsFileSystem, AFolderLinkIsListedAsALinkNeverAsAFolder) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  std::string folder = dir.path();
  wchar_t fixture[1024];
  if (::GetEnvironmentVariableW(L"SHIFRODEL_LINK_FIXTURE", fixture, 1024) != 0) {
    ASSERT_TRUE(Narrow(fixture, &folder));
  } else {
    dir.WriteFile(JoinPath("target", "inside.jpg"), "x");
    if (!MakeFolderLink(dir, L"target", L"link")) GTEST_SKIP() << "no folder links here";
  }
  const std::optional<DirEntry> link = Entry(fs, folder, "link");
  const std::optional<DirEntry> target = Entry(fs, folder, "target");
  if (folder == dir.path()) RemoveFolderLink(dir, L"link");
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->kind, EntryKind::kLink);
  EXPECT_EQ(link->attributes & kAttrDirectory, 0u);
  EXPECT_NE(link->attributes & kAttrReparsePoint, 0u);
  ASSERT_TRUE(target.has_value());
  EXPECT_EQ(target->kind, EntryKind::kFolder);
}

TEST(WindowsFileSystem, OpenAndCreateReportTheSystemsErrorNumber) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string read_only = dir.WriteFile("read-only", "x");
  ASSERT_TRUE(fs.SetAttributes(read_only, kAttrReadOnly));
  ASSERT_TRUE(fs.ForceFolders(dir / "folder"));
  struct Case {
    bool create;
    std::string path;
    int error;
  } const cases[] = {
      {false, dir / "missing", ERROR_FILE_NOT_FOUND},
      {false, JoinPath(dir / "missing", "x"), ERROR_PATH_NOT_FOUND},
      {true, JoinPath(dir / "missing", "x"), ERROR_PATH_NOT_FOUND},
      {true, read_only, ERROR_ACCESS_DENIED},
      {true, dir / "folder", ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    int error = 0;
    const auto opened = c.create ? fs.CreateWrite(c.path, &error) : fs.OpenRead(c.path, &error);
    EXPECT_EQ(opened, nullptr) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
  }
  EXPECT_EQ(dir.ReadFile("read-only"), "x");
}

TEST(WindowsFileSystem, TheSettingsFileLiesBesideTheExe) {
  const std::optional<std::string> exe = ExecutablePath();
  ASSERT_TRUE(exe.has_value());
  EXPECT_EQ(ExtractFileExt(*exe), ".exe");
  EXPECT_EQ(exe->substr(1, 2), ":\\") << *exe;
  const std::string ini = ChangeFileExt(*exe, ".ini");
  EXPECT_EQ(ExtractFileFolder(ini), ExtractFileFolder(*exe));
  EXPECT_EQ(ExtractFileName(ini), "shifrodel_tests.ini");
  EXPECT_TRUE(NativeFileSystem().FileExists(*exe));
}

// Run as a child from a Cyrillic folder by the test below: writes what
// ExecutablePath() says into the file that the parent names.
TEST(WindowsFileSystem, ChildReportsItsPath) {
  wchar_t report[1024];
  if (::GetEnvironmentVariableW(L"SHIFRODEL_REPORT_TO", report, 1024) == 0) {
    GTEST_SKIP() << "run by ExecutablePathHoldsCyrillicFolders";
  }
  std::string to;
  ASSERT_TRUE(Narrow(report, &to));
  ASSERT_TRUE(NativeFileSystem().WriteFileAtomically(to, ExecutablePath().value_or("<none>")));
}

TEST(WindowsFileSystem, ExecutablePathHoldsCyrillicFolders) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string folder = dir / W("Программы");
  ASSERT_TRUE(fs.ForceFolders(folder));
  const std::string copy = JoinPath(folder, W("Шифродел.exe"));
  ASSERT_TRUE(fs.CopyFile(*ExecutablePath(), copy));
  const std::string report = dir / "report";
  ASSERT_TRUE(::SetEnvironmentVariableW(L"SHIFRODEL_REPORT_TO", Widen(report).c_str()));
  std::wstring command =
      L"\"" + Widen(copy) + L"\" --gtest_filter=WindowsFileSystem.ChildReportsItsPath";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
  ::WaitForSingleObject(process.hProcess, 60000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ::SetEnvironmentVariableW(L"SHIFRODEL_REPORT_TO", nullptr);
  EXPECT_EQ(dir.ReadFile("report"), copy);
  EXPECT_EQ(ChangeFileExt(dir.ReadFile("report"), ".ini"), JoinPath(folder, W("Шифродел.ini")));
}

}  // namespace
}  // namespace shifrodel
