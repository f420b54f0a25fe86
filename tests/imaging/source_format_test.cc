#include "imaging/source_format.h"

#include <gtest/gtest.h>

#include "imaging/memory_file.h"

namespace shifrodel {
namespace {

TEST(SourceFormatTest, TheExtensionAloneDecidesWithoutRegardToCase) {
  const struct {
    const char* path;
    std::optional<SourceFormat> format;
  } kCases[] = {
      {"a.jpg", SourceFormat::kJpeg}, {"a.JPEG", SourceFormat::kJpeg},
      {"a.Jpe", SourceFormat::kJpeg}, {"a.jif", SourceFormat::kJpeg},
      {"a.tif", SourceFormat::kTiff}, {"scan.TIFF", SourceFormat::kTiff},
      {"a.fax", SourceFormat::kTiff}, {"a.g3n", SourceFormat::kTiff},
      {"a.G3F", SourceFormat::kTiff}, {"a.xif", SourceFormat::kTiff},
      {"a.bmp", SourceFormat::kBmp},  {"a.DIB", SourceFormat::kBmp},
      {"a.rle", SourceFormat::kBmp},  {"a.psd", SourceFormat::kPsd},
      {"a.png", std::nullopt},        {"a.tif.bak", std::nullopt},
      {"jpg", std::nullopt},          {"folder.tif/name", std::nullopt},
      {"a.", std::nullopt},
  };
  for (const auto& c : kCases) EXPECT_EQ(SourceFormatForPath(c.path), c.format) << c.path;
}

TEST(MemoryFileTest, ReadsSeeksAndRefusesToWrite) {
  MemoryFile file("abcdef");
  char buffer[4] = {};
  EXPECT_EQ(file.Size(), 6);
  EXPECT_EQ(file.Read(buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  EXPECT_EQ(file.Read(buffer, 4), 2);
  EXPECT_EQ(file.Read(buffer, 4), 0);
  EXPECT_EQ(file.Seek(-3, SEEK_END), 3);
  EXPECT_EQ(file.Read(buffer, 1), 1);
  EXPECT_EQ(buffer[0], 'd');
  EXPECT_EQ(file.Seek(-10, SEEK_CUR), -1);
  EXPECT_EQ(file.Seek(100, SEEK_SET), 100);
  EXPECT_EQ(file.Read(buffer, 1), 0);
  EXPECT_FALSE(file.Write("x", 1));
}

}  // namespace
}  // namespace shifrodel
