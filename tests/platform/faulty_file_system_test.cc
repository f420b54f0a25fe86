#include "support/faulty_file_system.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/fake_clock.h"
#include "support/temp_dir.h"

namespace shifrodel::testing {
namespace {

TEST(FaultyFileSystem, ForwardsUntilAFaultIsSetAndCountsEveryCall) {
  TempDir dir;
  FaultyFileSystem fs;
  const std::string path = dir.WriteFile("a.jpg", "abc");
  EXPECT_TRUE(fs.FileExists(path));
  EXPECT_EQ(fs.ReadWholeFile(path), "abc");
  fs.Fail(FsOp::kReadWholeFile, path);
  EXPECT_EQ(fs.ReadWholeFile(path), std::nullopt);
  EXPECT_EQ(fs.ReadWholeFile(dir.WriteFile("b.jpg", "b")), "b");
  EXPECT_EQ(fs.Calls(FsOp::kReadWholeFile), 3);
  EXPECT_EQ(fs.Calls(FsOp::kReadWholeFile, path), 2);
  EXPECT_EQ(fs.Calls(FsOp::kFileExists), 1);
  fs.Clear();
  EXPECT_EQ(fs.ReadWholeFile(path), "abc");
}

TEST(FaultyFileSystem, FaultsMatchByPredicateEitherPathAndCount) {
  TempDir dir;
  FaultyFileSystem fs;
  const std::string a = dir.WriteFile("a.tif", "a");
  const std::string b = dir.WriteFile("b.jpg", "b");
  fs.FailWhere(FsOp::kCopyFile, [](std::string_view p) { return p.ends_with(".tif"); }).Times(1);
  EXPECT_FALSE(fs.CopyFile(b, dir / "c.tif"));  // the target matches
  EXPECT_FALSE(fs.FileExists(dir / "c.tif"));
  EXPECT_TRUE(fs.CopyFile(a, dir / "d.jpg"));  // the one failure is used up
  fs.FailWhere(FsOp::kDeleteFile);
  EXPECT_FALSE(fs.DeleteFile(a));
  EXPECT_TRUE(fs.FileExists(a));
}

TEST(FaultyFileSystem, OpenAndCreateReportTheChosenErrorNumber) {
  TempDir dir;
  FaultyFileSystem fs;
  const std::string path = dir.WriteFile("a.jpg", "a");
  fs.Fail(FsOp::kOpenRead, path, EACCES);
  fs.Fail(FsOp::kCreateWrite, dir / "new.jpg");
  int error = 0;
  EXPECT_EQ(fs.OpenRead(path, &error), nullptr);
  EXPECT_EQ(error, EACCES);
  EXPECT_EQ(fs.CreateWrite(dir / "new.jpg", &error), nullptr);
  EXPECT_EQ(error, kInjectedError);
  EXPECT_FALSE(fs.FileExists(dir / "new.jpg"));
}

TEST(FaultyFileSystem, AFullDiskCutsAWrittenFileAndRefusesWholeWrites) {
  TempDir dir;
  FaultyFileSystem fs;
  const std::string old_list = dir.WriteFile("descript.ion", "old");
  const std::string source = dir.WriteFile("src.jpg", "0123456789");
  fs.FailWritesAfter(6);

  auto file = fs.CreateWrite(dir / "out.jpg");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("0123", 4));
  EXPECT_FALSE(file->Write("4567", 4));
  EXPECT_TRUE(file->Close());
  EXPECT_EQ(dir.ReadFile("out.jpg"), "012345");

  EXPECT_FALSE(fs.WriteFileAtomically(old_list, "new"));
  EXPECT_EQ(dir.ReadFile("descript.ion"), "old");
  EXPECT_FALSE(fs.CopyFile(source, dir / "copy.jpg"));
  EXPECT_FALSE(fs.FileExists(dir / "copy.jpg"));
  EXPECT_TRUE(fs.WriteFileAtomically(old_list, ""));
}

TEST(FaultyFileSystem, RoomIsSharedOnlyByTheMatchingFiles) {
  TempDir dir;
  FaultyFileSystem fs;
  const std::string source = dir.WriteFile("src.jpg", "0123456789");
  fs.FailWritesAfter(12, [](std::string_view p) { return p.ends_with(".jpg"); });
  EXPECT_TRUE(fs.CopyFile(source, dir / "one.jpg"));
  EXPECT_FALSE(fs.CopyFile(source, dir / "two.jpg"));  // 2 bytes left
  EXPECT_TRUE(fs.CopyFile(source, dir / "two.bak"));
  EXPECT_TRUE(fs.WriteFileAtomically(dir / "x.jpg", "12"));
  EXPECT_FALSE(fs.WriteFileAtomically(dir / "y.jpg", "1"));
}

TEST(FaultyFileSystem, DiskFreeFollowsItsScriptAndRepeatsTheLastFigure) {
  TempDir dir;
  FaultyFileSystem fs;
  EXPECT_TRUE(fs.DiskFree(dir.path()).has_value());  // the real disk
  fs.ScriptDiskFree({30u << 20, std::nullopt, 10u << 20}, "G:\\");
  EXPECT_EQ(fs.DiskFree(dir.path())->free_bytes, 30u << 20);
  EXPECT_EQ(fs.DiskFree(dir.path()), std::nullopt);
  for (int i = 0; i < 2; ++i) {
    const std::optional<DiskSpace> space = fs.DiskFree("G:\\Photo\\x.jpg");
    ASSERT_TRUE(space.has_value());
    EXPECT_EQ(space->free_bytes, 10u << 20);
    EXPECT_EQ(space->volume, "G:\\");
  }
  EXPECT_EQ(fs.Calls(FsOp::kDiskFree), 5);
}

TEST(FakeClock, StandsStillAdvancesAndWraps) {
  FakeClock clock(0xFFFFFF00u);
  EXPECT_EQ(clock.TickCount(), 0xFFFFFF00u);
  EXPECT_EQ(clock.TickCount(), 0xFFFFFF00u);
  clock.Advance(500);
  EXPECT_EQ(clock.TickCount(), 244u);
  EXPECT_EQ(static_cast<std::int32_t>(clock.now() - 0xFFFFFF00u), 500);
  clock.AdvanceOnEveryRead(10);
  EXPECT_EQ(clock.TickCount(), 244u);
  EXPECT_EQ(clock.TickCount(), 254u);
  clock.Set(7);
  EXPECT_EQ(clock.now(), 7u);
  EXPECT_EQ(clock.reads(), 5);
}

}  // namespace
}  // namespace shifrodel::testing
