// Feeds arbitrary bytes to the TIFF decoder (libtiff), and on to the JPEG
// encoder.
#include "fuzz_one_image.h"
#include "imaging/tiff_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shifrodel::FuzzOneImage(data, size, shifrodel::SourceFormat::kTiff, shifrodel::OpenTiffDecoder);
  return 0;
}
