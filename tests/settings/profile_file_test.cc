#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace shifrodel {
namespace {

using testing::TempDir;

TEST(ProfileFile, ReadsTheWayWindowsProfilesRead) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.ini",
                                         "Top=1\r\n"
                                         "[Other]\r\n"
                                         "Left=7\r\n"
                                         "  [ main ]  \r\n"
                                         "; Left=8\r\n"
                                         "  LEFT  =   12  \r\n"
                                         "left=13\n"
                                         "Dir=\"C:\\Мои документы\"\n"
                                         "Pref='x'\n"
                                         "Half=\"x\n"
                                         "Empty=\n"
                                         "no equals sign\n"
                                         "[Main]\n"
                                         "Top=2\n");
  const ProfileFile file(NativeFileSystem(), path);
  EXPECT_EQ(file.Read("Main", "Left"), "12");
  EXPECT_EQ(file.Read("MAIN", "left"), "12");
  EXPECT_EQ(file.Read("Main", "Dir"), "C:\\Мои документы");
  EXPECT_EQ(file.Read("Main", "Pref"), "x");
  EXPECT_EQ(file.Read("Main", "Half"), "\"x");
  EXPECT_EQ(file.Read("Main", "Empty"), "");
  EXPECT_EQ(file.Read("Main", "Top"), std::nullopt) << "only the first [Main] counts";
  EXPECT_EQ(file.Read("Main", "no equals sign"), std::nullopt);
  EXPECT_EQ(file.Read("Other", "Left"), "7");
  EXPECT_EQ(file.Read("Missing", "Left"), std::nullopt);
}

TEST(ProfileFile, WriteChangesOneLineAndKeepsTheRest) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.ini",
                                         "; settings\n"
                                         "[Main]\n"
                                         "  left = 5 \n"
                                         "Extra=kept\n"
                                         "\n"
                                         "[Other]\n"
                                         "Left=7\n");
  ProfileFile file(NativeFileSystem(), path);
  ASSERT_TRUE(file.Write("Main", "Left", "182"));
  ASSERT_TRUE(file.Write("Main", "Top", "103"));
  ASSERT_TRUE(file.Write("New", "Key", "two\r\nlines"));
  EXPECT_EQ(dir.ReadFile("a.ini"),
            "; settings\r\n"
            "[Main]\r\n"
            "Left=182\r\n"
            "Extra=kept\r\n"
            "Top=103\r\n"
            "\r\n"
            "[Other]\r\n"
            "Left=7\r\n"
            "\r\n"
            "[New]\r\n"
            "Key=two  lines\r\n");
  EXPECT_EQ(ProfileFile(NativeFileSystem(), path).Read("main", "TOP"), "103");
}

TEST(ProfileFile, FirstWriteCreatesTheFile) {
  TempDir dir;
  ProfileFile file(NativeFileSystem(), dir / "new.ini");
  EXPECT_EQ(file.Read("Main", "Left"), std::nullopt);
  ASSERT_TRUE(file.Write("Main", "Left", "-4"));
  ASSERT_TRUE(file.Write("Main", "DirDest", "G:\\Photo"));
  EXPECT_EQ(dir.ReadFile("new.ini"), "[Main]\r\nLeft=-4\r\nDirDest=G:\\Photo\r\n");
}

TEST(ProfileFile, FailedWriteLeavesFileAndValuesAsTheyWere) {
  TempDir dir;
  const std::string path = dir.WriteFile("a.ini", "[Main]\nLeft=5\n");
  testing::FaultyFileSystem refusing;
  refusing.FailWhere(testing::FsOp::kWriteFileAtomically);
  ProfileFile file(refusing, path);
  EXPECT_FALSE(file.Write("Main", "Left", "6"));
  EXPECT_EQ(file.Read("Main", "Left"), "5");
  EXPECT_EQ(dir.ReadFile("a.ini"), "[Main]\nLeft=5\n");
}

}  // namespace
}  // namespace shifrodel
