// The native file system on POSIX systems: links, permission bits, names
// that Windows-1251 cannot hold, mount points and full disks.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/dos_time.h"
#include "platform/file_system.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "support/test_text.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

using testing::SmallDisk;
using testing::TempDir;
using testing::W;

std::string Os(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

struct stat Lstat(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(Os(path).c_str(), &st), 0) << path;
  return st;
}

mode_t Mode(const std::string& path) { return Lstat(path).st_mode & 07777; }

// The names of the folder in the order in which readdir gives them.
std::vector<std::string> RawOrder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(Os(folder).c_str());
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

TEST(PosixFileSystem, ListsInTheFileSystemsOrderAndNeverTakesALinkForAFolder) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  for (int i = 0; i < 40; ++i) dir.WriteFile("f" + std::to_string(i * 7919 % 40), "x");
  ASSERT_TRUE(fs.ForceFolders(dir / "folder"));
  ASSERT_EQ(::symlink("folder", Os(dir / "link to folder").c_str()), 0);
  ASSERT_EQ(::symlink("loop", Os(dir / "loop").c_str()), 0);
  ASSERT_EQ(::symlink("f1", Os(dir / "link to file").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", Os(dir / "dangling").c_str()), 0);
  ASSERT_EQ(::mkfifo(Os(dir / "pipe").c_str(), 0600), 0);

  const std::optional<std::vector<DirEntry>> entries = fs.ListFolder(dir.path());
  ASSERT_TRUE(entries.has_value());
  std::vector<std::string> order;
  for (const DirEntry& e : *entries) order.push_back(Os(e.name));
  EXPECT_EQ(order, RawOrder(dir.path()));

  struct Case {
    const char* name;
    EntryKind kind;
  } const cases[] = {
      {"f3", EntryKind::kFile},
      {"folder", EntryKind::kFolder},
      {"link to folder", EntryKind::kLink},
      {"loop", EntryKind::kLink},
      {"link to file", EntryKind::kLink},
      {"dangling", EntryKind::kLink},
      {"pipe", EntryKind::kOther},
  };
  for (const Case& c : cases) {
    const auto e = std::find_if(entries->begin(), entries->end(),
                                [&](const DirEntry& d) { return d.name == c.name; });
    ASSERT_NE(e, entries->end()) << c.name;
    EXPECT_EQ(e->kind, c.kind) << c.name;
    EXPECT_TRUE(e->name_ok) << c.name;
    if (c.kind == EntryKind::kLink) {
      EXPECT_EQ(e->attributes & kAttrDirectory, 0u) << c.name;
      EXPECT_NE(e->attributes & kAttrReparsePoint, 0u) << c.name;
    }
  }
  EXPECT_TRUE(fs.FolderExists(dir / "link to folder"));  // it is one, but not to descend into
  EXPECT_EQ(fs.ListFolder(dir / "loop"), std::nullopt);
}

TEST(PosixFileSystem, NamesWithoutAWindows1251FormAreMarked) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string native = Os(dir.path()) + "/";
  for (const char* name : {"日本.jpg", "\xFF\xFE.jpg", "Опись.jpg"}) {
    const int fd = ::open((native + name).c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0) << name;
    ::close(fd);
  }
  const auto entries = fs.ListFolder(dir.path());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 3u);
  int unrepresentable = 0;
  for (const DirEntry& e : *entries) {
    if (e.name == W("Опись.jpg")) {
      EXPECT_TRUE(e.name_ok);
    } else {
      EXPECT_FALSE(e.name_ok) << testing::U(e.name);
      EXPECT_NE(e.name.find('?'), std::string::npos);
      EXPECT_TRUE(e.name.ends_with(".jpg"));
      ++unrepresentable;
    }
  }
  EXPECT_EQ(unrepresentable, 2);
}

TEST(PosixFileSystem, AttributesAreTheOwnerWriteBitAndALeadingDot) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  struct Case {
    const char* name;
    mode_t mode;
    std::uint32_t attributes;
  } const cases[] = {
      {"plain", 0644, kAttrNormal},
      {"read-only", 0444, kAttrReadOnly},
      {"group may write", 0464, kAttrReadOnly},
      {".hidden", 0644, kAttrHidden},
      {".both", 0400, kAttrHidden | kAttrReadOnly},
  };
  for (const Case& c : cases) {
    const std::string path = dir.WriteFile(c.name, "x");
    ASSERT_EQ(::chmod(Os(path).c_str(), c.mode), 0);
    EXPECT_EQ(fs.GetAttributes(path), c.attributes) << c.name;
  }
  const std::string path = dir / "plain";
  ASSERT_EQ(::chmod(Os(path).c_str(), 0666), 0);
  ASSERT_TRUE(fs.SetAttributes(path, kAttrReadOnly | kAttrHidden | kAttrArchive));
  EXPECT_EQ(Mode(path), 0444u);
  ASSERT_TRUE(fs.SetAttributes(path, kAttrHidden));
  EXPECT_EQ(Mode(path), 0644u);  // only the owner gets the write bit back
  EXPECT_EQ(fs.GetAttributes(dir.path()), kAttrDirectory);
}

TEST(PosixFileSystem, CopyTakesTheSourcesPermissionBits) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string from = dir.WriteFile("from.jpg", "x");
  ASSERT_EQ(::chmod(Os(from).c_str(), 0640), 0);
  const std::string to = dir.WriteFile("to.jpg", "old");
  ASSERT_EQ(::chmod(Os(to).c_str(), 0666), 0);
  ASSERT_TRUE(fs.CopyFile(from, to));
  EXPECT_EQ(Mode(to), 0640u);
}

TEST(PosixFileSystem, FileSizeOfAFileBeyondTwoGigabytes) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("big.tif", "");
  const std::int64_t size = (std::int64_t{3} << 30) + 5;
  ASSERT_EQ(::truncate(Os(path).c_str(), size), 0);  // sparse: no room taken
  EXPECT_EQ(fs.FileSize(path), size);
  auto file = fs.OpenRead(path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), size);
  EXPECT_EQ(file->Seek(-1, SEEK_END), size - 1);
}

TEST(PosixFileSystem, WriteFileAtomicallyKeepsThePermissionBits) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("descript.ion", "old");
  ASSERT_EQ(::chmod(Os(path).c_str(), 0604), 0);
  ASSERT_TRUE(fs.WriteFileAtomically(path, "new"));
  EXPECT_EQ(Mode(path), 0604u);
  EXPECT_EQ(dir.ReadFile("descript.ion"), "new");
}

TEST(PosixFileSystem, ReplaceFileKeepsTheReplacedFilesPermissionBits) {
  TempDir dir;
  const std::string target = dir.WriteFile("scan.tif", "old");
  const std::string fresh = dir.WriteFile("scan.tif_", "new");
  ASSERT_EQ(::chmod(Os(target).c_str(), 0600), 0);
  ASSERT_EQ(::chmod(Os(fresh).c_str(), 0644), 0);
  ASSERT_TRUE(NativeFileSystem().ReplaceFile(fresh, target));
  EXPECT_EQ(dir.ReadFile("scan.tif"), "new");
  EXPECT_EQ(Mode(target), 0600u);
}

TEST(PosixFileSystem, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
  SmallDisk disk(256 * 1024);
  if (!disk.available()) GTEST_SKIP() << "cannot mount a tmpfs here";
  FileSystem& fs = NativeFileSystem();
  const std::string list = JoinPath(disk.path(), "descript.ion");
  const std::string jpeg = JoinPath(disk.path(), "a.jpg");
  ASSERT_TRUE(fs.WriteFileAtomically(list, "old list"));
  ASSERT_TRUE(fs.WriteFileAtomically(jpeg, "old jpeg"));
  TempDir elsewhere;
  const std::string big = elsewhere.WriteFile("big.jpg", std::string(512 * 1024, 'b'));
  disk.Fill(16 * 1024);
  const std::vector<std::string> before = RawOrder(disk.path());

  EXPECT_FALSE(fs.WriteFileAtomically(list, std::string(64 * 1024, 'n')));
  EXPECT_FALSE(fs.CopyFile(big, jpeg));
  EXPECT_EQ(fs.ReadWholeFile(list), "old list");
  EXPECT_EQ(fs.ReadWholeFile(jpeg), "old jpeg");
  EXPECT_EQ(RawOrder(disk.path()), before);
}

TEST(PosixFileSystem, LastWriteTimeIsLocalTimeAndLeavesTheAccessTime) {
  const char* old_tz = std::getenv("TZ");
  const std::string saved = old_tz ? old_tz : "";
  ::setenv("TZ", "MSK-3", 1);  // three hours east of UTC, no daylight saving
  ::tzset();
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("scan.tif", "x");
  const timespec access[2] = {{1000000000, 0}, {0, UTIME_OMIT}};
  ASSERT_EQ(::utimensat(AT_FDCWD, Os(path).c_str(), access, 0), 0);

  ASSERT_TRUE(fs.SetLastWriteDosTime(path, *PackDosTime({2007, 10, 23, 17, 45, 58})));
  const struct stat st = Lstat(path);
  tm utc{};
  utc.tm_year = 107, utc.tm_mon = 9, utc.tm_mday = 23, utc.tm_hour = 14, utc.tm_min = 45;
  utc.tm_sec = 58;
  EXPECT_EQ(st.st_mtime, ::timegm(&utc));
  EXPECT_EQ(st.st_atime, 1000000000);

  const timespec odd[2] = {{0, UTIME_OMIT}, {::timegm(&utc) + 1, 999999999}};
  ASSERT_EQ(::utimensat(AT_FDCWD, Os(path).c_str(), odd, 0), 0);
  EXPECT_EQ(fs.GetLastWriteDosTime(path), PackDosTime({2007, 10, 23, 17, 45, 58}));

  if (old_tz) {
    ::setenv("TZ", saved.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST(PosixFileSystem, DiskFreeCountsTheBlocksThisProcessMayFill) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  struct statvfs vfs {};
  ASSERT_EQ(::statvfs(Os(dir.path()).c_str(), &vfs), 0);
  const std::optional<DiskSpace> space = fs.DiskFree(dir.path());
  ASSERT_TRUE(space.has_value());
  // Blocks kept for root are free only to root: anyone else meets a full
  // disk before them. Other programs may write meanwhile, hence the margin.
  const fsblkcnt_t blocks = ::geteuid() == 0 ? vfs.f_bfree : vfs.f_bavail;
  EXPECT_NEAR(static_cast<double>(space->free_bytes),
              static_cast<double>(blocks) * static_cast<double>(vfs.f_frsize), 64.0 * 1024 * 1024);
  EXPECT_EQ(fs.DiskFree("/")->volume, "/");
}

TEST(PosixFileSystem, DiskFreeNamesTheMountPointAsTheVolume) {
  SmallDisk disk(1024 * 1024);
  if (!disk.available()) GTEST_SKIP() << "cannot mount a tmpfs here";
  FileSystem& fs = NativeFileSystem();
  struct statvfs vfs {};
  ASSERT_EQ(::statvfs(Os(disk.path()).c_str(), &vfs), 0);
  const std::uint64_t free_bytes = static_cast<std::uint64_t>(vfs.f_bfree) * vfs.f_frsize;
  const std::string canonical = *fs.CanonicalPath(disk.path());
  ASSERT_TRUE(fs.ForceFolders(JoinPath(disk.path(), W("Ф. 12"))));
  for (const std::string& path :
       {disk.path(), JoinPath(disk.path(), W("Ф. 12")),
        JoinPath(JoinPath(JoinPath(disk.path(), W("Ф. 12")), W("Оп. 1")), "x.jpg")}) {
    const std::optional<DiskSpace> space = fs.DiskFree(path);
    ASSERT_TRUE(space.has_value()) << path;
    EXPECT_EQ(space->volume, canonical) << path;
    EXPECT_EQ(space->free_bytes, free_bytes) << path;
  }
  EXPECT_LE(free_bytes, 1024u * 1024u);
}

TEST(PosixFileSystem, CanonicalPathResolvesLinks) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  dir.WriteFile(JoinPath(W("Опись"), "a.jpg"), "x");
  ASSERT_EQ(::symlink(Os(W("Опись")).c_str(), Os(dir / "link").c_str()), 0);
  const std::string real = *fs.CanonicalPath(dir.path());
  EXPECT_EQ(fs.CanonicalPath(JoinPath(dir / "link", "a.jpg")),
            JoinPath(JoinPath(real, W("Опись")), "a.jpg"));
  EXPECT_TRUE(real.starts_with("/"));
}

TEST(PosixFileSystem, OpenAndCreateReportTheSystemsErrorNumber) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string file = dir.WriteFile("file", "x");
  ASSERT_TRUE(fs.ForceFolders(dir / "folder"));
  struct Case {
    bool create;
    std::string path;
    int error;
  } const cases[] = {
      {false, dir / "missing", ENOENT},
      {false, JoinPath(file, "below"), ENOTDIR},
      {true, JoinPath(dir / "missing", "new"), ENOENT},
      {true, dir / "folder", EISDIR},
      {true, dir / std::string(300, 'n'), ENAMETOOLONG},
  };
  for (const Case& c : cases) {
    int error = 0;
    const auto opened = c.create ? fs.CreateWrite(c.path, &error) : fs.OpenRead(c.path, &error);
    EXPECT_EQ(opened, nullptr) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
  }
}

TEST(PosixFileSystem, CreateOnAReadOnlyMediumReportsIt) {
  TempDir dir;
  if (::mount("tmpfs", Os(dir.path()).c_str(), "tmpfs", MS_RDONLY, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  FileSystem& fs = NativeFileSystem();
  int error = 0;
  EXPECT_EQ(fs.CreateWrite(dir / "new", &error), nullptr);
  EXPECT_EQ(error, EROFS);
  EXPECT_FALSE(fs.WriteFileAtomically(dir / "new", "x"));
  EXPECT_FALSE(fs.ForceFolders(dir / "sub"));
  ::umount2(Os(dir.path()).c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace shifrodel
