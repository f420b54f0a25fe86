#include "imaging/file_jpeg_converter.h"

#include <memory>

#include "imaging/convert.h"
#include "imaging/source_format.h"

namespace shifrodel {

std::optional<std::string> FileJpegConverter::Convert(const std::string& path, int quality,
                                                      const ProgressFn& progress) {
  const std::optional<SourceFormat> format = SourceFormatForPath(path);
  if (!format) return std::nullopt;
  const std::unique_ptr<File> file = fs_.OpenRead(path);
  if (!file) return std::nullopt;
  return ConvertToJpeg(*file, *format, quality, progress);
}

}  // namespace shifrodel
