// Rows of single channels of a Photoshop merged image, which is stored one
// channel after another: each row is fetched by seeking, raw or through the
// PackBits row-length table, so no channel is ever held whole.
#ifndef SHIFRODEL_IMAGING_PSD_CHANNEL_ROWS_H_
#define SHIFRODEL_IMAGING_PSD_CHANNEL_ROWS_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/psd_layout.h"
#include "platform/file_system.h"

namespace shifrodel {

class PsdChannelRows {
 public:
  // Rows of the channels numbered in `channels`. For PackBits data the
  // row-length table is read and checked: every row must be long enough to
  // fill its row, and all of them must lie in the file. `layout` must
  // outlive the reader.
  static std::optional<PsdChannelRows> Open(File& file, const PsdLayout& layout,
                                            std::vector<int> channels);

  // Row `row` of the `slot`th chosen channel: layout.row_bytes bytes.
  bool ReadRow(std::size_t slot, std::uint32_t row, std::uint8_t* out);

 private:
  PsdChannelRows(File& file, const PsdLayout& layout, std::vector<int> channels)
      : file_(&file), layout_(&layout), channels_(std::move(channels)) {}

  File* file_;
  const PsdLayout* layout_;
  std::vector<int> channels_;
  // PackBits only, per chosen channel: where each row's codes begin and
  // how long they are.
  std::vector<std::vector<std::uint64_t>> starts_;
  std::vector<std::vector<std::uint16_t>> lengths_;
  std::vector<std::uint8_t> packed_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PSD_CHANNEL_ROWS_H_
