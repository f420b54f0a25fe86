// Small TIFF files for the repack's tests, written with libtiff, and the
// means to look into the files the repack leaves: the samples of every page
// as libtiff decodes them, and libtiff's own listing of every tag.
#ifndef SHIFRODEL_TESTS_REPACK_TIFF_FIXTURE_H_
#define SHIFRODEL_TESTS_REPACK_TIFF_FIXTURE_H_

#include <tiffio.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace shifrodel::testing {

struct TestPage {
  std::uint32_t width = 96;
  std::uint32_t length = 64;
  std::uint16_t bits = 8;
  std::uint16_t samples = 1;
  std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  std::uint16_t planar = PLANARCONFIG_CONTIG;
  std::uint16_t sample_format = SAMPLEFORMAT_UINT;
  std::uint16_t compression = COMPRESSION_NONE;
  std::uint16_t predictor = PREDICTOR_NONE;
  std::uint32_t rows_per_strip = 8;
  std::uint32_t tile = 0;  // the tile's width and length; 0 for strips
  std::vector<std::uint16_t> extra_samples;
  // Noise instead of a smooth scan: it does not compress.
  bool noise = false;
  std::uint32_t seed = 1;
  // Sets further tags before the page's data is written.
  std::function<void(TIFF*)> tags;
};

// Writes the pages with libtiff. `mode` is libtiff's: "w", "wb" for a
// big-endian file, "w8" for BigTIFF. The path is Windows-1251.
void WriteTestTiff(const std::string& path, const std::vector<TestPage>& pages,
                   const char* mode = "w");

// The decoded samples of every page: the rows of each plane for strips,
// the tiles in order for tiles. Empty when libtiff cannot read the file.
std::vector<std::string> DecodedPages(const std::string& path);

// libtiff's listing of the tags of every page and of its EXIF directory,
// without the lines of the encoding (compression, predictor, strips or
// tiles) and of directory offsets, which a re-encoded file changes.
std::string CarriedTagListing(const std::string& path);

// The compression of a page, or 0.
std::uint16_t CompressionOf(const std::string& path, int page = 0);

// Overwrites the value of a one-value SHORT or LONG entry of a page of a
// little-endian classic TIFF file, as a damaged file would have it.
void SetEntryValue(const std::string& path, int page, std::uint16_t tag, std::uint32_t value);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_REPACK_TIFF_FIXTURE_H_
