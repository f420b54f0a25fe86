// The native file system through its interface alone: what every platform
// must do the same way.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/clock.h"
#include "platform/dos_time.h"
#include "platform/executable_path.h"
#include "support/temp_dir.h"
#include "support/test_text.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

using testing::TempDir;
using testing::W;

std::vector<std::string> Names(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> names;
  for (const DirEntry& e : fs.ListFolder(folder).value_or(std::vector<DirEntry>{})) {
    names.push_back(e.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(NativeFileSystem, CyrillicNamesRoundTripThroughTheListing) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string name = W("ф 12 оп 1 д 45 л 3.tif");
  dir.WriteFile(name, "x");
  ASSERT_TRUE(fs.ForceFolders(dir / W("Опись 5")));
  const auto entries = fs.ListFolder(dir.path());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 2u);
  for (const DirEntry& e : *entries) {
    EXPECT_TRUE(e.name_ok);
    if (e.name == name) {
      EXPECT_EQ(e.kind, EntryKind::kFile);
      EXPECT_EQ(e.attributes & kAttrDirectory, 0u);
    } else {
      EXPECT_EQ(e.name, W("Опись 5"));
      EXPECT_EQ(e.kind, EntryKind::kFolder);
      EXPECT_NE(e.attributes & kAttrDirectory, 0u);
    }
  }
  EXPECT_EQ(fs.ListFolder(dir / "missing"), std::nullopt);
  EXPECT_EQ(fs.ListFolder(dir / name), std::nullopt);
}

TEST(NativeFileSystem, ExistenceTellsFilesFromFolders) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string file = dir.WriteFile(W("Д. 45.jpg"), "x");
  const std::string folder = dir / W("Оп. 1");
  ASSERT_TRUE(fs.ForceFolders(folder));
  struct Case {
    std::string path;
    bool file, folder;
  } const cases[] = {
      {file, true, false},
      {folder, false, true},
      {dir / "missing", false, false},
      {JoinPath(file, "below"), false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fs.FileExists(c.path), c.file) << c.path;
    EXPECT_EQ(fs.FolderExists(c.path), c.folder) << c.path;
  }
}

TEST(NativeFileSystem, ForceFoldersCreatesEveryMissingParent) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string deep = JoinPath(JoinPath(dir / W("Ф. 12"), W("Оп. 1")), W("Д. 45"));
  EXPECT_TRUE(fs.ForceFolders(deep));
  EXPECT_TRUE(fs.FolderExists(deep));
  EXPECT_TRUE(fs.ForceFolders(deep));  // already there
  EXPECT_TRUE(fs.ForceFolders(deep + PathDelim()));
  const std::string file = dir.WriteFile("file", "x");
  EXPECT_FALSE(fs.ForceFolders(JoinPath(file, "sub")));
  EXPECT_FALSE(fs.ForceFolders(file));
  EXPECT_FALSE(fs.ForceFolders(""));
}

TEST(NativeFileSystem, CopyFileReplacesAndKeepsTheLastWriteTime) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string from = dir.WriteFile(W("исходный.jpg"), std::string("a\0b", 3));
  const std::uint32_t when = *PackDosTime({2001, 2, 3, 4, 5, 6});
  ASSERT_TRUE(fs.SetLastWriteDosTime(from, when));
  const std::string to = dir.WriteFile(W("Ф.12.jpg"), "an older and longer file");
  ASSERT_TRUE(fs.CopyFile(from, to));
  EXPECT_EQ(dir.ReadFile(W("Ф.12.jpg")), std::string("a\0b", 3));
  EXPECT_EQ(fs.GetLastWriteDosTime(to), when);
  EXPECT_EQ(Names(fs, dir.path()), (std::vector<std::string>{W("Ф.12.jpg"), W("исходный.jpg")}));
}

TEST(NativeFileSystem, FailedCopiesLeaveTheTargetAndNothingElse) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string from = dir.WriteFile("from.jpg", "new");
  const std::string to = dir.WriteFile("to.jpg", "old");
  ASSERT_TRUE(fs.ForceFolders(dir / "folder"));
  EXPECT_FALSE(fs.CopyFile(dir / "missing.jpg", to));
  EXPECT_FALSE(fs.CopyFile(dir / "folder", to));
  EXPECT_FALSE(fs.CopyFile(from, dir / "folder"));
  EXPECT_FALSE(fs.CopyFile(from, JoinPath(dir / "no such folder", "to.jpg")));
  EXPECT_EQ(dir.ReadFile("to.jpg"), "old");
  EXPECT_EQ(Names(fs, dir.path()), (std::vector<std::string>{"folder", "from.jpg", "to.jpg"}));
  EXPECT_EQ(Names(fs, dir / "folder"), std::vector<std::string>{});
}

TEST(NativeFileSystem, RenameRefusesAnExistingTarget) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string a = dir.WriteFile(W("а.jpg"), "a");
  const std::string b = dir.WriteFile(W("б.jpg"), "b");
  EXPECT_FALSE(fs.RenameFile(a, b));
  EXPECT_EQ(dir.ReadFile(W("б.jpg")), "b");
  EXPECT_TRUE(fs.RenameFile(a, dir / W("в.jpg")));
  EXPECT_FALSE(fs.FileExists(a));
  EXPECT_EQ(dir.ReadFile(W("в.jpg")), "a");
  EXPECT_FALSE(fs.RenameFile(a, dir / W("г.jpg")));
}

TEST(NativeFileSystem, ReplaceFilePutsTheNewFileInPlace) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string target = dir.WriteFile("scan.tif", "old");
  const std::string fresh = dir.WriteFile("scan.tif_", "new");
  ASSERT_TRUE(fs.ReplaceFile(fresh, target));
  EXPECT_EQ(dir.ReadFile("scan.tif"), "new");
  EXPECT_FALSE(fs.FileExists(fresh));
  EXPECT_FALSE(fs.ReplaceFile(fresh, target));
  EXPECT_EQ(dir.ReadFile("scan.tif"), "new");
}

TEST(NativeFileSystem, ReadOnlyAttributeIsSetAndCleared) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("list", "x");
  EXPECT_EQ(fs.GetAttributes(path).value_or(0) & kAttrReadOnly, 0u);
  ASSERT_TRUE(fs.SetAttributes(path, kAttrReadOnly));
  EXPECT_NE(fs.GetAttributes(path).value_or(0) & kAttrReadOnly, 0u);
  ASSERT_TRUE(fs.SetAttributes(path, kAttrNormal));
  EXPECT_EQ(fs.GetAttributes(path).value_or(kAttrReadOnly) & kAttrReadOnly, 0u);
  EXPECT_NE(fs.GetAttributes(dir.path()).value_or(0) & kAttrDirectory, 0u);
  EXPECT_EQ(fs.GetAttributes(dir / "missing"), std::nullopt);
  EXPECT_FALSE(fs.SetAttributes(dir / "missing", kAttrNormal));
}

TEST(NativeFileSystem, ReadWholeFileReadsEveryByte) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  std::string content(300000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  const std::string path = dir.WriteFile(W("опись.bin"), content);
  EXPECT_EQ(fs.ReadWholeFile(path), content);
  EXPECT_EQ(fs.FileSize(path), 300000);
  EXPECT_EQ(fs.ReadWholeFile(dir.WriteFile("empty", "")), "");
  EXPECT_EQ(fs.ReadWholeFile(dir / "missing"), std::nullopt);
  EXPECT_EQ(fs.ReadWholeFile(dir.path()), std::nullopt);
  EXPECT_EQ(fs.FileSize(dir / "missing"), std::nullopt);
  EXPECT_EQ(fs.FileSize(dir.path()), std::nullopt);
}

TEST(NativeFileSystem, WriteFileAtomicallyReplacesAndLeavesNoTemporaryFile) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("list", "old content, longer");
  ASSERT_TRUE(fs.WriteFileAtomically(path, "new"));
  EXPECT_EQ(dir.ReadFile("list"), "new");
  ASSERT_TRUE(fs.WriteFileAtomically(dir / W("новый"), ""));
  EXPECT_EQ(dir.ReadFile(W("новый")), "");
  EXPECT_FALSE(fs.WriteFileAtomically(JoinPath(dir / "missing", "list"), "x"));
  EXPECT_EQ(Names(fs, dir.path()), (std::vector<std::string>{"list", W("новый")}));
}

TEST(NativeFileSystem, WriteFileAtomicallyKeepsAReadOnlyState) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("list", "old");
  ASSERT_TRUE(fs.SetAttributes(path, kAttrReadOnly));
  ASSERT_TRUE(fs.WriteFileAtomically(path, "new"));
  EXPECT_EQ(dir.ReadFile("list"), "new");
  EXPECT_NE(fs.GetAttributes(path).value_or(0) & kAttrReadOnly, 0u);
  EXPECT_EQ(Names(fs, dir.path()), std::vector<std::string>{"list"});
}

TEST(NativeFileSystem, LastWriteTimeRoundTripsToTheEvenSecond) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("scan.tif", "x");
  struct Case {
    LocalDateTime set;
    int second_read;
  } const cases[] = {
      {{2007, 10, 23, 17, 45, 58}, 58},
      {{1980, 1, 1, 12, 0, 0}, 0},
      {{2024, 2, 29, 23, 59, 59}, 58},
      {{2039, 7, 1, 8, 30, 1}, 0},  // past the 32-bit time_t of old systems
  };
  for (const Case& c : cases) {
    const std::uint32_t dos = *PackDosTime(c.set);
    ASSERT_TRUE(fs.SetLastWriteDosTime(path, dos)) << c.set.year;
    const std::optional<std::uint32_t> read = fs.GetLastWriteDosTime(path);
    ASSERT_TRUE(read.has_value());
    LocalDateTime expected = c.set;
    expected.second = c.second_read;
    EXPECT_EQ(*read, *PackDosTime(expected)) << c.set.year;
  }
  EXPECT_FALSE(fs.SetLastWriteDosTime(path, *PackDosTime({2007, 2, 30, 0, 0, 0})));
  EXPECT_FALSE(fs.SetLastWriteDosTime(path, *PackDosTime({2007, 13, 1, 0, 0, 0})));
  EXPECT_FALSE(fs.SetLastWriteDosTime(dir / "missing", *PackDosTime({2007, 1, 1, 0, 0, 0})));
  EXPECT_EQ(fs.GetLastWriteDosTime(dir / "missing"), std::nullopt);
}

TEST(NativeFileSystem, DiskFreeOfAPathNotCreatedYetIsItsNearestFolders) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::optional<DiskSpace> here = fs.DiskFree(dir.path());
  ASSERT_TRUE(here.has_value());
  EXPECT_GT(here->free_bytes, 0u);
  EXPECT_FALSE(here->volume.empty());
  const std::string later = JoinPath(JoinPath(dir / W("Ф. 12"), W("Оп. 1")), "x.jpg");
  const std::optional<DiskSpace> there = fs.DiskFree(later);
  ASSERT_TRUE(there.has_value());
  EXPECT_EQ(there->volume, here->volume);
  EXPECT_NEAR(static_cast<double>(there->free_bytes), static_cast<double>(here->free_bytes),
              64.0 * 1024 * 1024);
  EXPECT_FALSE(fs.FileExists(later));
  EXPECT_FALSE(fs.FolderExists(dir / W("Ф. 12")));
}

TEST(NativeFileSystem, CanonicalPathIsAbsoluteAndResolved) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string file = dir.WriteFile(JoinPath(W("Опись"), "a.jpg"), "x");
  const std::optional<std::string> direct = fs.CanonicalPath(file);
  ASSERT_TRUE(direct.has_value());
  const std::string roundabout =
      JoinPath(JoinPath(JoinPath(dir / W("Опись"), ".."), W("Опись")), "a.jpg");
  EXPECT_EQ(fs.CanonicalPath(roundabout), direct);
  EXPECT_EQ(ExtractFileName(*direct), "a.jpg");
  EXPECT_EQ(fs.CanonicalPath(dir / "missing"), std::nullopt);
}

TEST(NativeFileSystem, FilesReadWriteSeekAndMeasure) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir / W("журнал.log");
  int error = -1;
  auto out = fs.CreateWrite(path, &error);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(error, 0);
  EXPECT_TRUE(out->Write("0123456789", 10));
  EXPECT_EQ(out->Size(), 10);
  EXPECT_TRUE(out->Sync());
  EXPECT_TRUE(out->Close());
  auto in = fs.OpenRead(path, &error);
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->Seek(-4, SEEK_END), 6);
  char buffer[8] = {};
  EXPECT_EQ(in->Read(buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(in->Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(in->Seek(2, SEEK_SET), 2);
  EXPECT_EQ(in->Seek(1, SEEK_CUR), 3);
  EXPECT_EQ(in->Size(), 10);
  EXPECT_TRUE(in->Close());
  // Creating truncates.
  out = fs.CreateWrite(path);
  ASSERT_NE(out, nullptr);
  EXPECT_TRUE(out->Close());
  EXPECT_EQ(fs.FileSize(path), 0);
}

TEST(ExecutablePath, NamesThisTestProgram) {
  const std::optional<std::string> path = ExecutablePath();
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(NativeFileSystem().FileExists(*path)) << *path;
  const std::string_view name = ExtractFileName(*path);
  EXPECT_TRUE(name.starts_with("shifrodel_")) << *path;
}

TEST(SystemClock, TicksInMilliseconds) {
  Clock& clock = SystemClock();
  const std::uint32_t start = clock.TickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const auto elapsed = static_cast<std::int32_t>(clock.TickCount() - start);
  EXPECT_GE(elapsed, 40);
  EXPECT_LT(elapsed, 5000);
}

}  // namespace
}  // namespace shifrodel
