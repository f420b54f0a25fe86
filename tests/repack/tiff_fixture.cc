#include "repack/tiff_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>

#include "text/cp1251_codec.h"

namespace shifrodel::testing {
namespace {

struct TiffCloser {
  void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle OpenNative(const std::string& path, const char* mode) {
  return TiffHandle(TIFFOpen(Cp1251ToUtf8(path).c_str(), mode));
}

// A smooth page with a little sensor noise, like a scan; or pure noise.
std::string Samples(const TestPage& page, std::size_t size) {
  std::string data(size, '\0');
  std::uint64_t state = page.seed;
  for (std::size_t i = 0; i < size; ++i) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = (state ^ (state >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    const auto noise = static_cast<std::uint8_t>(z >> 56);
    data[i] = static_cast<char>(page.noise ? noise : (i / 7 + i / 977) % 200 + (noise & 3));
  }
  return data;
}

}  // namespace

void WriteTestTiff(const std::string& path, const std::vector<TestPage>& pages, const char* mode) {
  TiffHandle tiff = OpenNative(path, mode);
  ASSERT_NE(tiff, nullptr) << path;
  for (const TestPage& page : pages) {
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, page.length);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, page.bits);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, page.planar);
    TIFFSetField(t, TIFFTAG_SAMPLEFORMAT, page.sample_format);
    TIFFSetField(t, TIFFTAG_COMPRESSION, page.compression);
    if (page.predictor != PREDICTOR_NONE) TIFFSetField(t, TIFFTAG_PREDICTOR, page.predictor);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, 300.0);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, 300.0);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (!page.extra_samples.empty()) {
      TIFFSetField(t, TIFFTAG_EXTRASAMPLES, static_cast<std::uint16_t>(page.extra_samples.size()),
                   page.extra_samples.data());
    }
    if (page.tile != 0) {
      TIFFSetField(t, TIFFTAG_TILEWIDTH, page.tile);
      TIFFSetField(t, TIFFTAG_TILELENGTH, page.tile);
    } else {
      TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, page.rows_per_strip);
    }
    if (pages.size() > 1) TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    if (page.tags) page.tags(t);
    if (page.tile != 0) {
      const tmsize_t size = TIFFTileSize(t);
      const std::uint32_t tiles = TIFFNumberOfTiles(t);
      std::string data = Samples(page, static_cast<std::size_t>(size) * tiles);
      for (std::uint32_t i = 0; i < tiles; ++i) {
        ASSERT_EQ(TIFFWriteEncodedTile(t, i, data.data() + i * size, size), size);
      }
    } else {
      const tmsize_t size = TIFFStripSize(t);
      const std::uint32_t strips = TIFFNumberOfStrips(t);
      std::string data = Samples(page, static_cast<std::size_t>(size) * strips);
      const std::uint32_t per_plane =
          page.planar == PLANARCONFIG_SEPARATE ? strips / page.samples : strips;
      for (std::uint32_t i = 0; i < strips; ++i) {
        const std::uint32_t rows =
            std::min(page.rows_per_strip, page.length - (i % per_plane) * page.rows_per_strip);
        const tmsize_t bytes = TIFFVStripSize(t, rows);
        ASSERT_EQ(TIFFWriteEncodedStrip(t, i, data.data() + i * size, bytes), bytes);
      }
    }
    ASSERT_EQ(TIFFWriteDirectory(t), 1);
  }
}

std::vector<std::string> DecodedPages(const std::string& path) {
  std::vector<std::string> pages;
  TiffHandle tiff = OpenNative(path, "r");
  if (tiff == nullptr) return pages;
  TIFF* t = tiff.get();
  do {
    std::string page;
    if (TIFFIsTiled(t)) {
      const tmsize_t size = TIFFTileSize(t);
      std::string tile(static_cast<std::size_t>(size), '\0');
      for (std::uint32_t i = 0; i < TIFFNumberOfTiles(t); ++i) {
        if (TIFFReadEncodedTile(t, i, tile.data(), size) != size) return {};
        page += tile;
      }
    } else {
      std::uint32_t length = 0;
      std::uint16_t samples = 1, planar = PLANARCONFIG_CONTIG;
      TIFFGetField(t, TIFFTAG_IMAGELENGTH, &length);
      TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &samples);
      TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);
      const std::uint16_t planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
      std::string row(static_cast<std::size_t>(TIFFScanlineSize(t)), '\0');
      for (std::uint16_t plane = 0; plane < planes; ++plane) {
        for (std::uint32_t y = 0; y < length; ++y) {
          if (TIFFReadScanline(t, row.data(), y, plane) < 0) return {};
          page += row;
        }
      }
    }
    pages.push_back(std::move(page));
  } while (TIFFReadDirectory(t) == 1);
  return pages;
}

std::string CarriedTagListing(const std::string& path) {
  TiffHandle tiff = OpenNative(path, "r");
  if (tiff == nullptr) return "<unreadable>";
  TIFF* t = tiff.get();
  char* text = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  std::vector<toff_t> exif;
  do {
    TIFFPrintDirectory(t, out, 0);
    toff_t offset = 0;
    if (TIFFGetField(t, TIFFTAG_EXIFIFD, &offset) == 1) exif.push_back(offset);
  } while (TIFFReadDirectory(t) == 1);
  for (toff_t offset : exif) {
    if (TIFFReadEXIFDirectory(t, offset) == 1) TIFFPrintDirectory(t, out, 0);
  }
  std::fclose(out);
  std::istringstream lines(std::string(text, size));
  std::free(text);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    static const char* const kEncoding[] = {"TIFF Directory at offset",
                                            "Compression Scheme",
                                            "Predictor",
                                            "Rows/Strip",
                                            "EXIFIFDOffset",
                                            "Group 3 Options",
                                            "Group 4 Options"};
    bool skip = false;
    for (const char* prefix : kEncoding) skip = skip || line.find(prefix) != std::string::npos;
    if (!skip) kept += line + "\n";
  }
  return kept;
}

std::uint16_t CompressionOf(const std::string& path, int page) {
  TiffHandle tiff = OpenNative(path, "r");
  if (tiff == nullptr || TIFFSetDirectory(tiff.get(), static_cast<tdir_t>(page)) != 1) return 0;
  std::uint16_t compression = 0;
  TIFFGetField(tiff.get(), TIFFTAG_COMPRESSION, &compression);
  return compression;
}

void SetEntryValue(const std::string& path, int page, std::uint16_t tag, std::uint32_t value) {
  FILE* f = std::fopen(Cp1251ToUtf8(path).c_str(), "r+b");
  ASSERT_NE(f, nullptr) << path;
  const auto read_at = [f](long at, int bytes) {
    std::uint8_t b[4] = {};
    std::fseek(f, at, SEEK_SET);
    if (std::fread(b, 1, bytes, f) != static_cast<std::size_t>(bytes)) return std::uint32_t{0};
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[i];
    return v;
  };
  long ifd = read_at(4, 4);
  for (int p = 0; p < page; ++p) ifd = read_at(ifd + 2 + read_at(ifd, 2) * 12, 4);
  int size = 0;
  const std::uint32_t entries = read_at(ifd, 2);
  for (std::uint32_t i = 0; i < entries && size == 0; ++i) {
    const long at = ifd + 2 + static_cast<long>(i) * 12;
    const std::uint32_t type = read_at(at + 2, 2);
    if (read_at(at, 2) != tag || read_at(at + 4, 4) != 1) continue;
    size = type == TIFF_SHORT ? 2 : type == TIFF_LONG ? 4 : 0;
    std::uint8_t b[4];
    for (int k = 0; k < 4; ++k) b[k] = static_cast<std::uint8_t>(value >> (8 * k));
    std::fseek(f, at + 8, SEEK_SET);
    std::fwrite(b, 1, size, f);
  }
  std::fclose(f);
  EXPECT_NE(size, 0) << "page " << page << " has no one-value SHORT or LONG tag " << tag;
}

}  // namespace shifrodel::testing
