// Damaged, truncated and mislabelled sources fail cleanly: no crash, no
// huge allocation, no reading past the data.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <cstring>
#include <new>

#include "imaging/convert.h"
#include "imaging/image_fixtures.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/memory_file.h"

namespace shifrodel {
namespace {

bool Converts(const std::string& bytes, SourceFormat format) {
  MemoryFile file(bytes);
  return ConvertToJpeg(file, format, 80, nullptr).has_value();
}

void Put16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

// A little-endian TIFF file written by hand: its directory right after the
// header, one strip of `data` after the directory, and the header values
// given, so that they can contradict the data.
std::string HandMadeTiff(std::uint32_t width, std::uint32_t height, std::uint16_t compression,
                         std::uint16_t photometric, std::uint16_t bits, std::uint16_t samples,
                         std::uint32_t strip_bytes, const std::string& data) {
  const struct {
    std::uint16_t tag, type;
    std::uint32_t value;
  } entries[] = {
      {TIFFTAG_IMAGEWIDTH, TIFF_LONG, width},
      {TIFFTAG_IMAGELENGTH, TIFF_LONG, height},
      {TIFFTAG_BITSPERSAMPLE, TIFF_SHORT, bits},
      {TIFFTAG_COMPRESSION, TIFF_SHORT, compression},
      {TIFFTAG_PHOTOMETRIC, TIFF_SHORT, photometric},
      {TIFFTAG_STRIPOFFSETS, TIFF_LONG, 0},
      {TIFFTAG_SAMPLESPERPIXEL, TIFF_SHORT, samples},
      {TIFFTAG_ROWSPERSTRIP, TIFF_LONG, height},
      {TIFFTAG_STRIPBYTECOUNTS, TIFF_LONG, strip_bytes},
  };
  const std::size_t count = std::size(entries);
  const std::size_t data_at = 8 + 2 + count * 12 + 4;
  std::string tiff(data_at, '\0');
  std::memcpy(tiff.data(), "II*\0", 4);
  Put32(tiff, 4, 8);
  Put16(tiff, 8, static_cast<std::uint16_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 10 + i * 12;
    Put16(tiff, at, entries[i].tag);
    Put16(tiff, at + 2, entries[i].type);
    Put32(tiff, at + 4, 1);
    const std::uint32_t value = entries[i].tag == TIFFTAG_STRIPOFFSETS
                                    ? static_cast<std::uint32_t>(data_at)
                                    : entries[i].value;
    if (entries[i].type == TIFF_SHORT) {
      Put16(tiff, at + 8, static_cast<std::uint16_t>(value));
    } else {
      Put32(tiff, at + 8, value);
    }
  }
  return tiff + data;
}

std::string NoisyJpeg(bool progressive) {
  testing::JpegSpec spec;
  spec.width = 64;
  spec.height = 64;
  spec.progressive = progressive;
  spec.sample = [](std::uint32_t x, std::uint32_t y, int c) {
    return static_cast<std::uint8_t>((x * 37 + y * 101 + c * 53) * 2654435761u >> 24);
  };
  return testing::MakeJpeg(spec);
}

// The same file claiming `width` x `height` pixels in its frame header.
std::string WithFrameSize(std::string jpeg, std::uint16_t width, std::uint16_t height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<std::uint8_t>(jpeg[i + 1]);
    if (static_cast<std::uint8_t>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      break;
    }
  }
  return jpeg;
}

TEST(ConversionFailureTest, TheHandMadeTiffIsSoundWhenItsDataFit) {
  // 4 x 2 RGB, so that the failures below are the damage's doing.
  EXPECT_TRUE(Converts(
      HandMadeTiff(4, 2, COMPRESSION_NONE, PHOTOMETRIC_RGB, 8, 3, 24, std::string(24, '\x80')),
      SourceFormat::kTiff));
}

TEST(ConversionFailureTest, DamagedOrMislabelledSourcesFail) {
  testing::TiffSpec spec;
  spec.width = spec.height = 64;
  spec.sample = [](std::uint32_t x, std::uint32_t y, int) { return (x ^ y) & 0xFF; };
  const std::string tiff = testing::MakeTiff(spec);
  const std::string jpeg = NoisyJpeg(false);
  const std::string strip(3000, '\x55');
  const struct {
    const char* name;
    std::string bytes;
    SourceFormat format;
  } kCases[] = {
      {"empty tiff", "", SourceFormat::kTiff},
      {"empty jpeg", "", SourceFormat::kJpeg},
      {"jpeg content named tiff", jpeg, SourceFormat::kTiff},
      {"tiff content named jpeg", tiff, SourceFormat::kJpeg},
      {"tiff without its directory", tiff.substr(0, tiff.size() / 2), SourceFormat::kTiff},
      {"tiff strip cut short",
       HandMadeTiff(40, 40, COMPRESSION_NONE, PHOTOMETRIC_RGB, 8, 3, 4800, strip),
       SourceFormat::kTiff},
      {"tiff claiming 60000 x 60000 pixels",
       HandMadeTiff(60000, 60000, COMPRESSION_NONE, PHOTOMETRIC_RGB, 8, 3, 3000, strip),
       SourceFormat::kTiff},
      {"g4 tiff claiming 60000 x 60000 pixels",
       HandMadeTiff(60000, 60000, COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, 1, 1, 3000,
                    std::string(3000, '\0')),
       SourceFormat::kTiff},
      {"tiff wider than a jpeg can be",
       HandMadeTiff(70000, 1, COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 8, 1, 3000, strip),
       SourceFormat::kTiff},
      {"tiff of 65535 samples per pixel",
       HandMadeTiff(100, 100, COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 8, 65535, 3000, strip),
       SourceFormat::kTiff},
      {"jpeg cut short", jpeg.substr(0, jpeg.size() * 3 / 5), SourceFormat::kJpeg},
      {"progressive jpeg cut short", NoisyJpeg(true).substr(0, 900), SourceFormat::kJpeg},
      {"jpeg claiming 65000 x 65000 pixels", WithFrameSize(jpeg, 65000, 65000),
       SourceFormat::kJpeg},
      {"progressive jpeg claiming 65000 x 65000 pixels",
       WithFrameSize(NoisyJpeg(true), 65000, 65000), SourceFormat::kJpeg},
      {"jpeg of 0 rows", WithFrameSize(jpeg, 64, 0), SourceFormat::kJpeg},
  };
  for (const auto& c : kCases) EXPECT_FALSE(Converts(c.bytes, c.format)) << c.name;
}

// A source whose memory runs out partway down the page, as a turned image's
// does when it gathers the whole page at the first rows asked for.
class ExhaustedSource final : public ImageDecoder {
 public:
  ExhaustedSource() {
    header_.width = 64;
    header_.height = 64;
  }
  const ImageHeader& header() const override { return header_; }
  bool ReadRows(std::uint8_t* out, std::uint32_t count) override {
    if (++calls_ > 2) throw std::bad_alloc();
    std::memset(out, 0x80, std::size_t{count} * header_.width * 3);
    return true;
  }

 private:
  ImageHeader header_;
  int calls_ = 0;
};

// The exception reaches the caller and libjpeg's memory is released on the
// way (the leak checker of the sanitizer build holds the test to that).
TEST(ConversionFailureTest, MemoryRunningOutInTheSourceReleasesTheEncoder) {
  ExhaustedSource source;
  EXPECT_THROW(EncodeJpeg(source, JpegSettings{}, nullptr), std::bad_alloc);
}

}  // namespace
}  // namespace shifrodel
