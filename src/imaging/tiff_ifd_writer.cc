#include "imaging/tiff_ifd_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "imaging/file_bytes.h"
#include "imaging/tiff_ifd.h"

namespace shifrodel {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;

}  // namespace

TiffIfdWriter::TiffIfdWriter(File& out, bool big_endian, bool bigtiff)
    : out_(out),
      order_(big_endian),
      big_endian_(big_endian),
      bigtiff_(bigtiff),
      buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize)) {}

bool TiffIfdWriter::Flush() {
  if (failed_) return false;
  if (buffered_ > 0 && !out_.Write(buffer_.get(), buffered_)) failed_ = true;
  buffered_ = 0;
  return !failed_;
}

bool TiffIfdWriter::Write(const void* data, std::size_t size) {
  if (failed_) return false;
  position_ += size;
  if (size >= kBufferSize) {
    if (!Flush()) return false;
    if (!out_.Write(data, size)) failed_ = true;
    return !failed_;
  }
  if (buffered_ + size > kBufferSize && !Flush()) return false;
  std::memcpy(buffer_.get() + buffered_, data, size);
  buffered_ += size;
  return true;
}

bool TiffIfdWriter::WriteHeader() {
  std::uint8_t header[16] = {};
  header[0] = header[1] = big_endian_ ? 'M' : 'I';
  order_.Put(header + 2, bigtiff_ ? 43 : 42, 2);
  if (bigtiff_) order_.Put(header + 4, 8, 2);
  return Write(header, bigtiff_ ? 16 : 8);
}

bool TiffIfdWriter::AlignToWord() {
  if (position_ % 2 == 0) return true;
  const std::uint8_t zero = 0;
  return Write(&zero, 1);
}

bool TiffIfdWriter::WriteValue(const TiffOutEntry& entry) {
  if (entry.source == nullptr) return Write(entry.bytes.data(), entry.bytes.size());
  std::vector<std::uint8_t> chunk(std::min<std::uint64_t>(entry.size, kBufferSize));
  for (std::uint64_t done = 0; done < entry.size;) {
    const auto n =
        static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), entry.size - done));
    if (!ReadAt(*entry.source, entry.source_offset + done, chunk.data(), n) ||
        !Write(chunk.data(), n)) {
      failed_ = true;
      return false;
    }
    done += n;
  }
  return true;
}

bool TiffIfdWriter::WriteIfd(std::vector<TiffOutEntry> entries, std::uint64_t* ifd_offset,
                             std::uint64_t* next_field) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TiffOutEntry& a, const TiffOutEntry& b) { return a.tag < b.tag; });
  const int field_size = bigtiff_ ? 8 : 4;
  std::vector<std::uint64_t> value_offsets(entries.size(), 0);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].ValueSize() <= static_cast<std::uint64_t>(field_size)) continue;
    if (!AlignToWord()) return false;
    value_offsets[i] = position_;
    if (!OffsetFits(position_) || !WriteValue(entries[i])) return false;
  }
  if (!AlignToWord()) return false;
  *ifd_offset = position_;
  if (!OffsetFits(position_)) return false;

  const int count_size = bigtiff_ ? 8 : 2;
  const int entry_size = bigtiff_ ? 20 : 12;
  std::vector<std::uint8_t> table(count_size + entries.size() * entry_size + field_size, 0);
  order_.Put(table.data(), entries.size(), count_size);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TiffOutEntry& e = entries[i];
    std::uint8_t* raw = table.data() + count_size + i * entry_size;
    order_.Put(raw, e.tag, 2);
    order_.Put(raw + 2, e.type, 2);
    order_.Put(raw + 4, e.count, field_size);
    std::uint8_t* field = raw + 4 + field_size;
    if (e.ValueSize() > static_cast<std::uint64_t>(field_size)) {
      order_.Put(field, value_offsets[i], field_size);
    } else if (e.source == nullptr) {
      std::memcpy(field, e.bytes.data(), e.bytes.size());
    } else if (!ReadAt(*e.source, e.source_offset, field, static_cast<std::size_t>(e.size))) {
      failed_ = true;
      return false;
    }
  }
  *next_field = position_ + count_size + entries.size() * entry_size;
  return Write(table.data(), table.size());
}

bool TiffIfdWriter::PatchOffset(std::uint64_t position, std::uint64_t value) {
  if (!OffsetFits(value) || !Flush()) return false;
  std::uint8_t field[8];
  const int size = bigtiff_ ? 8 : 4;
  order_.Put(field, value, size);
  if (out_.Seek(static_cast<std::int64_t>(position), SEEK_SET) < 0 || !out_.Write(field, size) ||
      out_.Seek(static_cast<std::int64_t>(position_), SEEK_SET) < 0) {
    failed_ = true;
  }
  return !failed_;
}

}  // namespace shifrodel
