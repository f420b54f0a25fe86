// Turning one image file into the bytes of a JPEG file. The decoder is chosen
// by the file name's extension, never by the content. A converter keeps no
// state between files, so one may run on several threads at once.
#ifndef SHIFRODEL_IMAGING_JPEG_CONVERTER_H_
#define SHIFRODEL_IMAGING_JPEG_CONVERTER_H_

#include <functional>
#include <string>

namespace shifrodel {

// Called at least every 100 ms while a large image is being converted, on
// the thread that converts it.
using ProgressFn = std::function<void()>;

// Why a conversion gave no JPEG file. Only a bad image is the file's own
// fault; the others say nothing about its content and may pass another time.
enum class ConversionFailure {
  kNone,
  kBadImage,     // an extension without a decoder, content that does not
                 // match it, a truncated or corrupt image
  kCannotOpen,   // missing, no permission, locked by another program
  kOutOfMemory,  // too large for the memory at hand
};

// What one conversion gave: the JPEG file's bytes, or why there are none.
struct Conversion {
  ConversionFailure failure = ConversionFailure::kNone;
  std::string jpeg;

  bool ok() const { return failure == ConversionFailure::kNone; }
  static Conversion Failed(ConversionFailure why) { return {why, {}}; }
};

class JpegConverter {
 public:
  virtual ~JpegConverter() = default;
  // Converts the file at `path`; `quality` is 1 to 100.
  virtual Conversion Convert(const std::string& path, int quality, const ProgressFn& progress) = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_JPEG_CONVERTER_H_
