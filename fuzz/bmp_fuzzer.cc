// Feeds arbitrary bytes to our BMP reader, and on to the JPEG encoder.
#include "fuzz_one_image.h"
#include "imaging/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shifrodel::FuzzOneImage(data, size, shifrodel::SourceFormat::kBmp, shifrodel::OpenBmpDecoder);
  return 0;
}
