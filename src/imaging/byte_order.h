// Reading little- and big-endian integers out of byte buffers: BMP headers
// are little-endian, Photoshop files big-endian.
#ifndef SHIFRODEL_IMAGING_BYTE_ORDER_H_
#define SHIFRODEL_IMAGING_BYTE_ORDER_H_

#include <cstdint>

namespace shifrodel {

inline std::uint16_t LoadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::int32_t LoadLeS32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(LoadLe32(p));
}

inline std::uint16_t LoadBe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
inline std::int16_t LoadBeS16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(LoadBe16(p));
}
inline std::uint32_t LoadBe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}
inline std::int32_t LoadBeS32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(LoadBe32(p));
}

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_BYTE_ORDER_H_
