// Runs a decoder over bytes held in memory and collects the whole image,
// for tests that compare pixels.
#ifndef SHIFRODEL_TESTS_IMAGING_DECODE_ALL_H_
#define SHIFRODEL_TESTS_IMAGING_DECODE_ALL_H_

#include <memory>
#include <optional>
#include <string>

#include "imaging/image_decoder.h"
#include "platform/file_system.h"

namespace shifrodel::testing {

using OpenDecoderFn = std::unique_ptr<ImageDecoder> (*)(File&);

struct DecoderOutput {
  ImageHeader header;
  std::string pixels;  // every row, top to bottom
};

// nullopt when the decoder refuses the file or fails on any row.
std::optional<DecoderOutput> DecodeAll(OpenDecoderFn open, File& file);
std::optional<DecoderOutput> DecodeAll(OpenDecoderFn open, const std::string& bytes);

// The pixels as RGB, grey ones repeated three times.
std::string AsRgb(const DecoderOutput& image);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_IMAGING_DECODE_ALL_H_
