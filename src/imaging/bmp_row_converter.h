// Turns the stored bytes of one BMP row into output pixels: palette
// look-up, bit-field masks, alpha laid over white.
#ifndef SHIFRODEL_IMAGING_BMP_ROW_CONVERTER_H_
#define SHIFRODEL_IMAGING_BMP_ROW_CONVERTER_H_

#include <cstdint>

#include "imaging/bmp_layout.h"
#include "imaging/image_decoder.h"

namespace shifrodel {

class BmpRowConverter {
 public:
  // `layout` must outlive the converter. `format` is kGrey8 only for a
  // palette image whose palette is grey.
  BmpRowConverter(const BmpLayout& layout, PixelFormat format) : layout_(layout), format_(format) {}

  // One uncompressed row of layout.row_bytes bytes. False when a pixel
  // names a palette entry that the file does not have.
  bool ConvertStored(const std::uint8_t* stored, std::uint8_t* out) const;

  // One palette index per pixel, from a run-length stream; a pixel whose
  // `defined` byte is 0 was skipped by the stream and comes out white.
  bool ConvertIndices(const std::uint8_t* indices, const std::uint8_t* defined,
                      std::uint8_t* out) const;

 private:
  bool PutIndex(std::uint32_t index, std::uint8_t*& out) const;
  void PutBitFields(std::uint32_t pixel, std::uint8_t*& out) const;

  const BmpLayout& layout_;
  PixelFormat format_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_BMP_ROW_CONVERTER_H_
