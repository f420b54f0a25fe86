// Writes a TIFF file piece by piece: the header, the encoded strips or tiles
// as they come, and then each directory with the values of its entries,
// either new bytes or byte ranges copied from the original file. Output is
// buffered; offsets that are known only later are patched in place.
#ifndef SHIFRODEL_IMAGING_TIFF_IFD_WRITER_H_
#define SHIFRODEL_IMAGING_TIFF_IFD_WRITER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/tiff_byte_order.h"
#include "platform/file_system.h"

namespace shifrodel {

struct TiffOutEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint64_t count = 0;
  // The value: `bytes` (already in the file's byte order) when `source` is
  // null, else `size` bytes at `source_offset` of `source`.
  std::string bytes;
  File* source = nullptr;
  std::uint64_t source_offset = 0;
  std::uint64_t size = 0;

  std::uint64_t ValueSize() const { return source != nullptr ? size : bytes.size(); }
};

class TiffIfdWriter {
 public:
  TiffIfdWriter(File& out, bool big_endian, bool bigtiff);

  // The header, its first-directory offset to be patched.
  bool WriteHeader();
  std::uint64_t Position() const { return position_; }
  bool Write(const void* data, std::size_t size);
  // Writes one directory, its out-of-line values first, the entries sorted
  // by tag and a next-directory offset of 0. Sets the directory's offset and
  // where its next-directory field lies.
  bool WriteIfd(std::vector<TiffOutEntry> entries, std::uint64_t* ifd_offset,
                std::uint64_t* next_field);
  // Stores an offset (4 bytes, 8 in BigTIFF) at `position`, already written.
  bool PatchOffset(std::uint64_t position, std::uint64_t value);
  // Writes what is buffered.
  bool Flush();

  // The header's first-directory field.
  std::uint64_t FirstIfdField() const { return bigtiff_ ? 8 : 4; }
  // Whether an offset fits the file's offset fields.
  bool OffsetFits(std::uint64_t value) const { return bigtiff_ || value <= 0xFFFFFFFFull; }
  const TiffByteOrder& order() const { return order_; }
  bool bigtiff() const { return bigtiff_; }

 private:
  bool WriteValue(const TiffOutEntry& entry);
  bool AlignToWord();

  File& out_;
  TiffByteOrder order_;
  bool big_endian_;
  bool bigtiff_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t buffered_ = 0;
  std::uint64_t position_ = 0;
  bool failed_ = false;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_IFD_WRITER_H_
