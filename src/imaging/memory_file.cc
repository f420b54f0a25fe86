#include "imaging/memory_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace shifrodel {

std::int64_t MemoryFile::Read(void* buffer, std::size_t size) {
  if (position_ >= bytes_.size()) return 0;
  const std::size_t count = std::min(size, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += count;
  return static_cast<std::int64_t>(count);
}

std::int64_t MemoryFile::Seek(std::int64_t offset, int origin) {
  std::int64_t base = 0;
  if (origin == SEEK_CUR) {
    base = static_cast<std::int64_t>(position_);
  } else if (origin == SEEK_END) {
    base = static_cast<std::int64_t>(bytes_.size());
  } else if (origin != SEEK_SET) {
    return -1;
  }
  if (offset < -base) return -1;
  position_ = static_cast<std::size_t>(base + offset);
  return static_cast<std::int64_t>(position_);
}

}  // namespace shifrodel
