// Turning one image file into the bytes of a JPEG file. The decoder is chosen
// by the file name's extension, never by the content. A converter keeps no
// state between files, so one may run on several threads at once.
#ifndef SHIFRODEL_IMAGING_JPEG_CONVERTER_H_
#define SHIFRODEL_IMAGING_JPEG_CONVERTER_H_

#include <functional>
#include <optional>
#include <string>

namespace shifrodel {

// Called at least every 100 ms while a large image is being converted, on
// the thread that converts it.
using ProgressFn = std::function<void()>;

class JpegConverter {
 public:
  virtual ~JpegConverter() = default;
  // The encoded JPEG file, or nullopt when the source cannot be opened or
  // decoded (a missing or unreadable file, an extension without a decoder,
  // content that does not match it, a truncated or corrupt image).
  // `quality` is 1 to 100.
  virtual std::optional<std::string> Convert(const std::string& path, int quality,
                                             const ProgressFn& progress) = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_JPEG_CONVERTER_H_
