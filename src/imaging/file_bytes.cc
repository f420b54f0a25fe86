#include "imaging/file_bytes.h"

#include <cstdio>
#include <limits>

namespace shifrodel {

bool ReadExactly(File& file, void* buffer, std::size_t size) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    const std::int64_t n = file.Read(out, size);
    if (n <= 0) return false;
    out += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadAt(File& file, std::uint64_t offset, void* buffer, std::size_t size) {
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
  const auto position = static_cast<std::int64_t>(offset);
  return file.Seek(position, SEEK_SET) == position && ReadExactly(file, buffer, size);
}

}  // namespace shifrodel
