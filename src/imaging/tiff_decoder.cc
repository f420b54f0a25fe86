#include "imaging/tiff_decoder.h"

#include "imaging/oriented_decoder.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_rgba_decoder.h"
#include "imaging/tiff_scanline_decoder.h"

namespace shifrodel {
namespace {

constexpr std::uint32_t kMaxDimension = 65500;  // what a JPEG file can hold

// Every strip or tile of a sound file holds data; one of none means a
// damaged directory, even where the part of the image we need is whole.
bool EveryStrileHasData(TIFF* tiff) {
  const std::uint32_t count = TIFFNumberOfStrips(tiff);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (TIFFGetStrileByteCount(tiff, i) == 0) return false;
  }
  return count > 0;
}

}  // namespace

std::unique_ptr<ImageDecoder> OpenTiffDecoder(File& file) {
  std::unique_ptr<TiffFile> tiff = TiffFile::Open(file);
  if (!tiff) return nullptr;
  ImageHeader header;
  if (!TIFFGetField(tiff->tiff(), TIFFTAG_IMAGEWIDTH, &header.width) ||
      !TIFFGetField(tiff->tiff(), TIFFTAG_IMAGELENGTH, &header.height) || header.width == 0 ||
      header.height == 0 || header.width > kMaxDimension || header.height > kMaxDimension ||
      !EveryStrileHasData(tiff->tiff())) {
    return nullptr;
  }
  TiffImageFacts facts = ReadTiffImageFacts(tiff->tiff());
  header.x_dpi = facts.x_dpi;
  header.y_dpi = facts.y_dpi;
  header.icc_profile = std::move(facts.icc_profile);
  std::unique_ptr<ImageDecoder> decoder = OpenTiffScanlineDecoder(tiff, header);
  if (!decoder) decoder = OpenTiffRgbaDecoder(std::move(tiff), header);
  if (!decoder) return nullptr;
  return OrientDecoder(std::move(decoder), facts.orientation);
}

}  // namespace shifrodel
