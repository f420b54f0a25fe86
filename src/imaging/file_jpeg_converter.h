// The converter that the program uses: opens the file through the file
// system, picks the decoder by the name's extension and converts.
#ifndef SHIFRODEL_IMAGING_FILE_JPEG_CONVERTER_H_
#define SHIFRODEL_IMAGING_FILE_JPEG_CONVERTER_H_

#include "imaging/jpeg_converter.h"
#include "platform/file_system.h"

namespace shifrodel {

class FileJpegConverter final : public JpegConverter {
 public:
  explicit FileJpegConverter(FileSystem& fs) : fs_(fs) {}
  Conversion Convert(const std::string& path, int quality, const ProgressFn& progress) override;

 private:
  FileSystem& fs_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_FILE_JPEG_CONVERTER_H_
