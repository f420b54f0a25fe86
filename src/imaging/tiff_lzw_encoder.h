// The LZW coding of TIFF (compression 5): codes of 9 to 12 bits packed from
// the most significant bit, a Clear code at the start and whenever the table
// fills, the code width growing one code early, as TIFF 6.0 lays down and as
// every TIFF reader expects.
#ifndef SHIFRODEL_IMAGING_TIFF_LZW_ENCODER_H_
#define SHIFRODEL_IMAGING_TIFF_LZW_ENCODER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace shifrodel {

class TiffLzwEncoder {
 public:
  // The codes of one strip or tile, from its Clear code to its
  // End-of-Information code. They stay valid until the next call.
  std::span<const std::uint8_t> Encode(const std::uint8_t* data, std::size_t size);

 private:
  // Open addressing over (prefix code, next byte) keys. An entry holds the
  // key in its upper 20 bits and the code in its lower 12; all ones is empty.
  static constexpr int kHashBits = 14;
  std::array<std::uint32_t, 1 << kHashBits> table_;
  std::unique_ptr<std::uint8_t[]> out_;
  std::size_t out_capacity_ = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_LZW_ENCODER_H_
