#include "imaging/packbits.h"

#include <cstring>

namespace shifrodel {

bool UnpackBits(const std::uint8_t* in, std::size_t in_size, std::uint8_t* out,
                std::size_t out_size) {
  std::size_t i = 0, o = 0;
  while (o < out_size) {
    if (i >= in_size) return false;
    const std::uint8_t code = in[i++];
    if (code < 128) {
      const std::size_t n = code + 1u;
      if (n > in_size - i || n > out_size - o) return false;
      std::memcpy(out + o, in + i, n);
      i += n;
      o += n;
    } else if (code > 128) {
      const std::size_t n = 257u - code;
      if (i >= in_size || n > out_size - o) return false;
      std::memset(out + o, in[i++], n);
      o += n;
    }
  }
  return true;
}

}  // namespace shifrodel
