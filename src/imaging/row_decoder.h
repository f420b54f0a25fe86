// The bookkeeping that our own decoders share: rows go out top to bottom,
// a batch at a time, no row past the last, and the first failure ends the
// image for good.
#ifndef SHIFRODEL_IMAGING_ROW_DECODER_H_
#define SHIFRODEL_IMAGING_ROW_DECODER_H_

#include <cstdint>
#include <string>

#include "imaging/image_decoder.h"

namespace shifrodel {

class RowDecoder : public ImageDecoder {
 public:
  const ImageHeader& header() const final { return header_; }
  bool ReadRows(std::uint8_t* out, std::uint32_t count) final;

 protected:
  // Decodes row `row` (0 is the top) into `out`, which holds one row.
  virtual bool ReadRow(std::uint32_t row, std::uint8_t* out) = 0;

  // Fills in the header; `icc_profile` is kept only when it describes
  // pixels of `format` (see IccProfileFits).
  void SetHeader(std::uint32_t width, std::uint32_t height, PixelFormat format, double x_dpi,
                 double y_dpi, const std::string& icc_profile);

 private:
  ImageHeader header_;
  std::uint32_t next_row_ = 0;
  bool failed_ = false;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_ROW_DECODER_H_
