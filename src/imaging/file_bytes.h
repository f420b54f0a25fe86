// Exact reads from an open file for the format readers: a read that falls
// short counts as a failure, so a truncated file never yields stale bytes.
#ifndef SHIFRODEL_IMAGING_FILE_BYTES_H_
#define SHIFRODEL_IMAGING_FILE_BYTES_H_

#include <cstddef>
#include <cstdint>

#include "platform/file_system.h"

namespace shifrodel {

// Reads exactly `size` bytes from the current position.
bool ReadExactly(File& file, void* buffer, std::size_t size);

// Reads exactly `size` bytes starting at `offset`.
bool ReadAt(File& file, std::uint64_t offset, void* buffer, std::size_t size);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_FILE_BYTES_H_
