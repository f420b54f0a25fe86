// Run-length coded BMP pixels (RLE8 and RLE4), read row by row from the top
// although they are stored from the bottom. One pass over the coded stream at
// opening checks it whole (no run or jump outside the image, no cut-off code)
// and notes where the codes of each row begin, so that a row is later decoded
// by seeking to them: memory grows with the height, never with the image.
#ifndef SHIFRODEL_IMAGING_BMP_RLE_ROWS_H_
#define SHIFRODEL_IMAGING_BMP_RLE_ROWS_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/bmp_layout.h"
#include "platform/file_system.h"

namespace shifrodel {

class BmpRleRows {
 public:
  // nullopt when the stream is corrupt or cut off.
  static std::optional<BmpRleRows> Scan(File& file, const BmpLayout& layout);

  // Decodes stored row `row` (0 is the bottom row): one palette index per
  // pixel into `indices`, and 1 into `defined` for every pixel the stream
  // sets (pixels it skips with a jump, an end of line or an early end of
  // the image get 0). Both hold layout.width bytes.
  bool DecodeRow(File& file, std::uint32_t row, std::uint8_t* indices, std::uint8_t* defined) const;

  // Where the codes of a row begin and end, relative to the stream's start,
  // and the column at which the row is entered.
  struct RowCodes {
    std::uint32_t row = 0;
    std::uint32_t x = 0;
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
  };

 private:
  explicit BmpRleRows(const BmpLayout& layout) : layout_(&layout) {}

  const BmpLayout* layout_;
  std::vector<RowCodes> rows_;  // ascending; rows the stream never enters are absent
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_BMP_RLE_ROWS_H_
