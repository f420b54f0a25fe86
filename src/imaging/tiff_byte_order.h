// Numbers in a TIFF file's byte order ("II" little-endian, "MM" big-endian),
// read from and written to byte buffers.
#ifndef SHIFRODEL_IMAGING_TIFF_BYTE_ORDER_H_
#define SHIFRODEL_IMAGING_TIFF_BYTE_ORDER_H_

#include <cstdint>

namespace shifrodel {

class TiffByteOrder {
 public:
  explicit TiffByteOrder(bool big_endian) : big_endian_(big_endian) {}

  std::uint64_t Get(const std::uint8_t* p, int bytes) const {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (big_endian_ ? bytes - 1 - i : i);
      v |= static_cast<std::uint64_t>(p[i]) << shift;
    }
    return v;
  }
  std::uint16_t Get16(const std::uint8_t* p) const { return static_cast<std::uint16_t>(Get(p, 2)); }
  std::uint32_t Get32(const std::uint8_t* p) const { return static_cast<std::uint32_t>(Get(p, 4)); }
  std::uint64_t Get64(const std::uint8_t* p) const { return Get(p, 8); }

  void Put(std::uint8_t* p, std::uint64_t v, int bytes) const {
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (big_endian_ ? bytes - 1 - i : i);
      p[i] = static_cast<std::uint8_t>(v >> shift);
    }
  }

 private:
  bool big_endian_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_BYTE_ORDER_H_
