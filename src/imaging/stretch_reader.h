// Sequential reading of one stretch of a file through a small buffer, for
// the format readers that walk chains of records or codes: nothing is read
// beyond the stretch, and a record that would run past its end is an error.
#ifndef SHIFRODEL_IMAGING_STRETCH_READER_H_
#define SHIFRODEL_IMAGING_STRETCH_READER_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel {

class StretchReader {
 public:
  // The bytes from `begin` up to, not including, `end`.
  StretchReader(File& file, std::uint64_t begin, std::uint64_t end)
      : file_(file), next_(begin), end_(end) {}

  // False at the end of the stretch or on a read error (see failed()).
  bool Next(std::uint8_t* byte) {
    if (pos_ == buffer_.size() && !Refill()) return false;
    *byte = buffer_[pos_++];
    return true;
  }
  // Exactly `size` bytes, or false (and the position is then undefined).
  bool Read(void* out, std::size_t size);
  // Moves `size` bytes on; false when that passes the end.
  bool Skip(std::uint64_t size);

  // A reader of the next `size` bytes (fewer at the end), with its own
  // position; this one does not move.
  StretchReader Sub(std::uint64_t size) const {
    return StretchReader(file_, position(), position() + std::min(size, remaining()));
  }

  // Offset in the file of the next byte to read.
  std::uint64_t position() const { return next_ - (buffer_.size() - pos_); }
  std::uint64_t remaining() const { return end_ - position(); }
  bool failed() const { return failed_; }

 private:
  bool Refill();

  File& file_;
  std::uint64_t next_;  // file offset just after the buffered bytes
  std::uint64_t end_;
  std::vector<std::uint8_t> buffer_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_STRETCH_READER_H_
