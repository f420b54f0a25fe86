#include "descr/description_list.h"

#include <gtest/gtest.h>

#include <optional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "support/test_text.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

using testing::TempDir;
using testing::W;

struct ListCase {
  const char* what;
  std::optional<std::string> before;  // nullopt: no list yet
  const char* name;
  const char* description;
  std::string after;
};

TEST(SetFileDescription, ListCases) {
  const ListCase cases[] = {
      {"new list", std::nullopt, "a.jpg", "x", "a.jpg x"},
      {"empty list", "", "a.jpg", "x", "a.jpg x\r\n"},
      {"no final line break", "a.jpg x", "b.jpg", "y", "a.jpg x\r\nb.jpg y\r\n"},
      {"name in another case", "A.JPG old\r\n", "a.jpg", "new", "a.jpg new\r\n"},
      {"identical repeats", "a.jpg x\r\nb.jpg y\r\nA.jpg X\r\n", "a.jpg", "z",
       "a.jpg z\r\nb.jpg y\r\na.jpg z\r\n"},
      {"consecutive repeats", "a.jpg x\r\na.jpg x\r\n", "a.jpg", "z", "a.jpg z\r\na.jpg z\r\n"},
      {"different repeats", "a.jpg x\r\na.jpg y\r\n", "a.jpg", "z", "a.jpg z\r\na.jpg y\r\n"},
      {"a line that only contains the old text", "b.jpg see a.jpg x\r\na.jpg x\r\n", "a.jpg", "z",
       "b.jpg see a.jpg x\r\na.jpg z\r\n"},
      {"longer name is another file", "a.jpg.bak x\r\nba.jpg x\r\n", "a.jpg", "z",
       "a.jpg.bak x\r\nba.jpg x\r\na.jpg z\r\n"},
      {"quoted name with a space", "\"my scan.jpg\" old\r\n", "my scan.jpg", "new",
       "\"my scan.jpg\" new\r\n"},
      {"bare form of a spaced name is not found", "my scan.jpg old\r\n", "my scan.jpg", "new",
       "my scan.jpg old\r\n\"my scan.jpg\" new\r\n"},
      {"quoted form of a plain name is not found", "\"a.jpg\" old\r\n", "a.jpg", "new",
       "\"a.jpg\" old\r\na.jpg new\r\n"},
      {"LF-only list: the first line is found but not replaced", "a.jpg x\nb.jpg y\n", "a.jpg", "z",
       "a.jpg x\nb.jpg y\n"},
      {"LF-only list: other names get a new line", "a.jpg x\nb.jpg y\n", "b.jpg", "z",
       "a.jpg x\nb.jpg y\nb.jpg z\r\n"},
      {"last line ends with a lone LF", "a.jpg x\r\nb.jpg y\n", "b.jpg", "z",
       "a.jpg x\r\nb.jpg y\n"},
      {"other lines stay byte for byte", "\xEF\xBB\xBFhdr\r\n\tb.jpg  y \r\na.jpg x\r\n\r\n",
       "a.jpg", "new", "\xEF\xBB\xBFhdr\r\n\tb.jpg  y \r\na.jpg new\r\n\r\n"},
      {"Cyrillic case", "\xD1\xCA\xC0\xCD.jpg x\r\n", "\xF1\xEA\xE0\xED.jpg", "y",
       "\xF1\xEA\xE0\xED.jpg y\r\n"},
  };
  for (const ListCase& c : cases) {
    TempDir dir;
    if (c.before) dir.WriteFile("descript.ion", *c.before);
    SetFileDescription(NativeFileSystem(), dir / c.name, c.description);
    EXPECT_EQ(dir.ReadFile("descript.ion"), c.after) << c.what;
  }
}

TEST(SetFileDescription, CopyRunDescriptionOfASpacedPath) {
  TempDir dir;
  const std::string file = dir / W("Ф.12.Оп.1.Д.45.Л.3 фото.jpg");
  const std::string description = '"' + file + "\" " + W("DVD#001\\C:\\Скан\\ф 12.tif");
  SetFileDescription(NativeFileSystem(), file, description);
  EXPECT_EQ(dir.ReadFile("descript.ion"),
            '"' + W("Ф.12.Оп.1.Д.45.Л.3 фото.jpg") + "\" " + description);
}

#ifndef _WIN32
TEST(SetFileDescription, KeepsTheListsPermissionBits) {
  TempDir dir;
  const std::string list = dir.WriteFile("descript.ion", "a.jpg x\r\n");
  const std::string native = Cp1251ToUtf8(list);
  ASSERT_EQ(::chmod(native.c_str(), 0444), 0);
  SetFileDescription(NativeFileSystem(), dir / "b.jpg", "y");
  EXPECT_EQ(dir.ReadFile("descript.ion"), "a.jpg x\r\nb.jpg y\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(native.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
}
#endif

TEST(SetFileDescription, FullDiskKeepsTheOldListAndLeavesNoTemporaryFile) {
  testing::SmallDisk disk(256 * 1024);
  if (!disk.available()) GTEST_SKIP() << "cannot mount a small disk here";
  std::string list;
  for (int i = 0; i < 1000; ++i) list += "scan" + std::to_string(i) + ".jpg some text\r\n";
  const std::string list_path = JoinPath(disk.path(), "descript.ion");
  auto file = NativeFileSystem().CreateWrite(list_path);
  ASSERT_TRUE(file && file->Write(list.data(), list.size()) && file->Close());
  disk.Fill(4096);

  SetFileDescription(NativeFileSystem(), JoinPath(disk.path(), "new.jpg"), "text");

  EXPECT_EQ(NativeFileSystem().ReadWholeFile(list_path), list);
  const auto entries = NativeFileSystem().ListFolder(disk.path());
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(entries->size(), 2u);  // the list and the filler
}

}  // namespace
}  // namespace shifrodel
