// PackBits, the byte-oriented run-length code of Photoshop (and TIFF) rows:
// a header byte n then n + 1 literal bytes (n 0 to 127), or one byte
// repeated 257 - n times (n 129 to 255); 128 is a no-op.
#ifndef SHIFRODEL_IMAGING_PACKBITS_H_
#define SHIFRODEL_IMAGING_PACKBITS_H_

#include <cstddef>
#include <cstdint>

namespace shifrodel {

// Decodes `in` into exactly `out_size` bytes. False when the codes end
// before the row is full or a code would write past its end; bytes left
// after a full row are ignored.
bool UnpackBits(const std::uint8_t* in, std::size_t in_size, std::uint8_t* out,
                std::size_t out_size);

// The fewest coded bytes that can yield `out_size` bytes (every code
// costs two bytes at least and yields 128 at most).
constexpr std::size_t MinPackedSize(std::size_t out_size) { return (out_size + 127) / 128 * 2; }

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PACKBITS_H_
