#include "imaging/psd_channel_rows.h"

#include <algorithm>

#include "imaging/byte_order.h"
#include "imaging/file_bytes.h"
#include "imaging/packbits.h"
#include "imaging/stretch_reader.h"

namespace shifrodel {

std::optional<PsdChannelRows> PsdChannelRows::Open(File& file, const PsdLayout& layout,
                                                   std::vector<int> channels) {
  PsdChannelRows rows(file, layout, std::move(channels));
  if (layout.compression == PsdCompression::kRaw) return rows;

  const std::int64_t file_size = file.Size();
  const std::uint64_t table_size = std::uint64_t{layout.height} * layout.channels * 2;
  if (file_size < 0 || layout.data_offset + table_size > static_cast<std::uint64_t>(file_size)) {
    return std::nullopt;
  }
  const std::size_t min_length = MinPackedSize(static_cast<std::size_t>(layout.row_bytes));
  rows.starts_.resize(rows.channels_.size());
  rows.lengths_.resize(rows.channels_.size());
  StretchReader table(file, layout.data_offset, layout.data_offset + table_size);
  std::uint64_t start = layout.data_offset + table_size;
  std::uint16_t longest = 0;
  for (int channel = 0; channel < layout.channels; ++channel) {
    const auto chosen = std::find(rows.channels_.begin(), rows.channels_.end(), channel);
    const auto slot = static_cast<std::size_t>(chosen - rows.channels_.begin());
    if (chosen != rows.channels_.end()) {
      rows.starts_[slot].reserve(layout.height);
      rows.lengths_[slot].reserve(layout.height);
    }
    for (std::uint32_t row = 0; row < layout.height; ++row) {
      std::uint8_t entry[2];
      if (!table.Read(entry, 2)) return std::nullopt;
      const std::uint16_t length = LoadBe16(entry);
      if (length < min_length) return std::nullopt;
      if (chosen != rows.channels_.end()) {
        rows.starts_[slot].push_back(start);
        rows.lengths_[slot].push_back(length);
        longest = std::max(longest, length);
      }
      start += length;
    }
  }
  if (start > static_cast<std::uint64_t>(file_size)) return std::nullopt;
  rows.packed_.resize(longest);
  return rows;
}

bool PsdChannelRows::ReadRow(std::size_t slot, std::uint32_t row, std::uint8_t* out) {
  const auto row_bytes = static_cast<std::size_t>(layout_->row_bytes);
  if (layout_->compression == PsdCompression::kRaw) {
    const std::uint64_t index =
        std::uint64_t{static_cast<std::uint32_t>(channels_[slot])} * layout_->height + row;
    return ReadAt(*file_, layout_->data_offset + index * row_bytes, out, row_bytes);
  }
  const std::uint16_t length = lengths_[slot][row];
  return ReadAt(*file_, starts_[slot][row], packed_.data(), length) &&
         UnpackBits(packed_.data(), length, out, row_bytes);
}

}  // namespace shifrodel
