#include "imaging/stretch_reader.h"

#include <algorithm>
#include <cstring>

#include "imaging/file_bytes.h"

namespace shifrodel {
namespace {

constexpr std::uint64_t kBlock = 64 * 1024;

}  // namespace

bool StretchReader::Refill() {
  if (failed_ || next_ >= end_) return false;
  buffer_.resize(static_cast<std::size_t>(std::min(end_ - next_, kBlock)));
  pos_ = 0;
  if (!ReadAt(file_, next_, buffer_.data(), buffer_.size())) {
    failed_ = true;
    buffer_.clear();
    return false;
  }
  next_ += buffer_.size();
  return true;
}

bool StretchReader::Read(void* out, std::size_t size) {
  auto* dest = static_cast<std::uint8_t*>(out);
  while (size > 0) {
    if (pos_ == buffer_.size() && !Refill()) return false;
    const std::size_t n = std::min(size, buffer_.size() - pos_);
    std::memcpy(dest, buffer_.data() + pos_, n);
    pos_ += n;
    dest += n;
    size -= n;
  }
  return true;
}

bool StretchReader::Skip(std::uint64_t size) {
  if (failed_ || size > remaining()) return false;
  const std::uint64_t buffered = buffer_.size() - pos_;
  if (size <= buffered) {
    pos_ += static_cast<std::size_t>(size);
  } else {
    next_ = position() + size;
    buffer_.clear();
    pos_ = 0;
  }
  return true;
}

}  // namespace shifrodel
