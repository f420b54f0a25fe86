// Feeds arbitrary bytes to the JPEG decoder (libjpeg), and on to the
// encoder, which keeps a JPEG source's colour model and coding.
#include "fuzz_one_image.h"
#include "imaging/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shifrodel::FuzzOneImage(data, size, shifrodel::SourceFormat::kJpeg,
                          [](shifrodel::File& file) -> std::unique_ptr<shifrodel::ImageDecoder> {
                            return shifrodel::OpenJpegDecoder(file);
                          });
  return 0;
}
