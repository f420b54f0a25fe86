#include "cipher/target_path.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_text.h"

namespace shifrodel {
namespace {

using testing::NativeSeparators;
using testing::U;

// A destination written as in the worked examples, with "␣" for a space.
std::string Expected(std::string text) {
  for (std::size_t at; (at = text.find("␣")) != std::string::npos;) text.replace(at, 3, " ");
  return NativeSeparators(text);
}

class BuildTargetPathTest : public ::testing::Test {
 protected:
  std::optional<std::string> Place(const char* relative, bool copy_other = true) {
    const std::string source = source_root_ + NativeSeparators(relative);
    return BuildTargetPath(source, {source_root_, target_root_, other_root_}, copy_other);
  }

  const std::string source_root_ = NativeSeparators("D:\\Скан\\");
  const std::string target_root_ = NativeSeparators("E:\\Архив\\");
  const std::string other_root_ = NativeSeparators("E:\\Разное\\");
};

TEST_F(BuildTargetPathTest, WorkedExamples) {
  struct Case {
    const char* source;
    const char* destination;
  };
  const char* standard = "E:\\Архив\\Ф.␣␣␣12\\Оп.␣␣␣1\\Д.␣␣␣␣45\\Ф.12.Оп.1.Д.45.Л.3.jpg";
  const Case cases[] = {
      {"ф 12 оп 1 д 45 л 3.tif", standard},
      {"Ф.12.Оп.1.Д.45.Л.3.tif", standard},
      {"ф. 12, оп. 1, д. 45, л. 3.tif", standard},
      {"ф р-12 оп 1 д 45а л 3об.jpg",
       "E:\\Архив\\Ф.␣␣␣␣␣р-12\\Оп.␣␣␣1\\Д.␣␣␣45а\\Ф.Р-12.Оп.1.Д.45А.Л.3об.jpg"},
      {"ф 007 оп 01 д 0045 л 3.tif",
       "E:\\Архив\\Ф.␣␣007\\Оп.␣␣01\\Д.␣␣0045\\Ф.007.Оп.01.Д.0045.Л.3.jpg"},
      {"ф 123456 оп 12345 д 1234567 л 3.tif",
       "E:\\Архив\\Ф.123456\\Оп.12345\\Д.1234567\\Ф.123456.Оп.12345.Д.1234567.Л.3.jpg"},
      {"ф 12 оп 1 д 45 л 3 фото.tif",
       "E:\\Архив\\Ф.␣␣␣12\\Оп.␣␣␣1\\Д.␣␣␣␣45\\Ф.12.Оп.1.Д.45.Л.3␣фото.jpg"},
      {"ф 12 оп 1 д 45 фото.tif", "E:\\Архив\\Ф.␣␣␣12\\Оп.␣␣␣1\\Д.␣␣␣␣45\\Ф.12.Оп.1.Д.45␣фото.jpg"},
      {"ф 12 оп 1.tif", "E:\\Архив\\Ф.␣␣␣12\\Оп.␣␣␣1\\Ф.12.Оп.1.jpg"},
      {"ф 12 фото.tif", "E:\\Архив\\Ф.␣␣␣12\\Ф.12␣фото.jpg"},
      {"ф 12 оп 1 фото...tif", "E:\\Архив\\Ф.␣␣␣12\\Оп.␣␣␣1\\Ф.12.Оп.1␣фото.jpg"},
      {"ф 12 о , д 5.tif", "E:\\Архив\\Ф.␣␣␣12\\Д.␣␣␣␣␣5\\Ф.12.Д.5.jpg"},
      {"Опись 5\\ф 12 оп 1.tif", "E:\\Архив\\Ф.␣␣␣12\\Оп.␣␣␣1\\Ф.12.Оп.1.jpg"},
      {"Опись 5\\титул.tif", "E:\\Разное\\Опись␣5\\титул.jpg"},
      {"титул.tif", "E:\\Разное\\титул.jpg"},
      {"Опись 5\\ф .tif", "E:\\Разное\\Опись␣5\\ф␣.jpg"},
      {"Опись 5\\readme", "E:\\Разное\\Опись␣5\\readme.jpg"},
      // Edge cases of the padding and the name.
      {"ф 12345 оп 1234 д 123456.tif",
       "E:\\Архив\\Ф.12345\\Оп.1234\\Д.123456\\Ф.12345.Оп.1234.Д.123456.jpg"},
      {"ф 12а.tif", "E:\\Архив\\Ф.␣␣␣12а\\Ф.12А.jpg"},
      {"ф 12 фото.png", "E:\\Архив\\Ф.␣␣␣12\\Ф.12␣фото.png.jpg"},
      {"а\\б\\ф 1 оп ii д iv л 2А.bmp",
       "E:\\Архив\\Ф.␣␣␣␣1\\Оп.␣␣ii\\Д.␣␣␣␣iv\\Ф.1.Оп.II.Д.IV.Л.2а.jpg"},
  };
  for (const Case& c : cases) {
    const auto got = Place(c.source);
    ASSERT_TRUE(got.has_value()) << c.source;
    EXPECT_EQ(*got, Expected(c.destination)) << c.source << " -> " << U(*got);
  }
}

TEST_F(BuildTargetPathTest, FilesWithoutCipherAreSkippedWhenTheSwitchIsOff) {
  for (const char* source :
       {"Опись 5\\титул.tif", "титул.tif", "Опись 5\\ф .tif", "Опись 5\\readme", "descript.ion"}) {
    EXPECT_EQ(Place(source, false), std::nullopt) << source;
  }
  EXPECT_TRUE(Place("ф 12 оп 1.tif", false).has_value());
}

TEST_F(BuildTargetPathTest, RelativeFolderIsCutByLengthOnly) {
  // The miscellaneous tree takes the folder after the first length-of-root
  // characters, without comparing it with the root.
  const std::string root = NativeSeparators("C:\\Sc\\");
  const std::string source = NativeSeparators("X:\\Ab\\cd\\file.bmp");
  EXPECT_EQ(BuildTargetPath(source, {root, "T", NativeSeparators("O\\")}, true),
            NativeSeparators("O\\cd\\file.jpg"));
  // A root longer than the file's folder leaves nothing of it.
  EXPECT_EQ(BuildTargetPath(NativeSeparators("C:\\file.bmp"), {root, "T", "O"}, true), "Ofile.jpg");
}

}  // namespace
}  // namespace shifrodel
