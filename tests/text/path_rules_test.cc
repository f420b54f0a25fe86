#include "text/path_rules.h"

#include <gtest/gtest.h>

namespace shifrodel {
namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* name;
  const char* ext;
};

TEST(PathRules, WindowsSplitsAtBackslashAndColon) {
  const PathCase cases[] = {
      {"C:\\Scans\\a.tif", "C:\\Scans\\", "a.tif", ".tif"},
      {"C:a.tif", "C:", "a.tif", ".tif"},
      {"C:\\Scans.old\\readme", "C:\\Scans.old\\", "readme", ""},
      {"a.b.jpg", "", "a.b.jpg", ".jpg"},
      {"C:\\", "C:\\", "", ""},
      {"x/y.z", "", "x/y.z", ".z"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ExtractFileFolder(c.path, PathStyle::kWindows), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path, PathStyle::kWindows), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path, PathStyle::kWindows), c.ext) << c.path;
  }
}

TEST(PathRules, PosixSplitsAtSlashOnly) {
  const PathCase cases[] = {
      {"/scans/a.tif", "/scans/", "a.tif", ".tif"},
      {"/scans/a\\b:c.tif", "/scans/", "a\\b:c.tif", ".tif"},
      {"/scans.old/readme", "/scans.old/", "readme", ""},
      {"a.tif", "", "a.tif", ".tif"},
      {"/", "/", "", ""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ExtractFileFolder(c.path, PathStyle::kPosix), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path, PathStyle::kPosix), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path, PathStyle::kPosix), c.ext) << c.path;
  }
}

TEST(PathRules, ChangeFileExt) {
  EXPECT_EQ(ChangeFileExt("a.tif", ".jpg", PathStyle::kWindows), "a.jpg");
  EXPECT_EQ(ChangeFileExt("readme", ".jpg", PathStyle::kWindows), "readme.jpg");
  EXPECT_EQ(ChangeFileExt("d.x\\readme", ".jpg", PathStyle::kWindows), "d.x\\readme.jpg");
  EXPECT_EQ(ChangeFileExt("a.b.", ".jpg", PathStyle::kPosix), "a.b.jpg");
  EXPECT_EQ(ChangeFileExt("/d.x/f", ".jpg", PathStyle::kPosix), "/d.x/f.jpg");
}

TEST(PathRules, JoinAlwaysAddsTheSeparator) {
  EXPECT_EQ(JoinPath("C:\\", "a", PathStyle::kWindows), "C:\\\\a");
  EXPECT_EQ(JoinPath("/s", "a", PathStyle::kPosix), "/s/a");
}

}  // namespace
}  // namespace shifrodel
