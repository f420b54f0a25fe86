#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_dir.h"
#include "support/test_text.h"

namespace shifrodel {
namespace {

using testing::TempDir;
using testing::W;

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
    } else {
      EXPECT_EQ(e.name, W("Опись 5"));
      EXPECT_EQ(e.kind, EntryKind::kFolder);
    }
  }
  EXPECT_TRUE(fs.FileExists(dir / name));
  EXPECT_FALSE(fs.FolderExists(dir / name));
  EXPECT_TRUE(fs.FolderExists(dir / W("Опись 5")));
}

TEST(NativeFileSystem, WriteFileAtomicallyReplacesAndLeavesNoTemporaryFile) {
  TempDir dir;
  FileSystem& fs = NativeFileSystem();
  const std::string path = dir.WriteFile("list", "old");
  ASSERT_TRUE(fs.WriteFileAtomically(path, "new content"));
  EXPECT_EQ(dir.ReadFile("list"), "new content");
  EXPECT_EQ(fs.ListFolder(dir.path())->size(), 1u);
}

}  // namespace
}  // namespace shifrodel
