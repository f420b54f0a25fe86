#include "imaging/file_jpeg_converter.h"

#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "imaging/convert.h"
#include "imaging/source_format.h"

namespace shifrodel {

Conversion FileJpegConverter::Convert(const std::string& path, int quality,
                                      const ProgressFn& progress) {
  const std::optional<SourceFormat> format = SourceFormatForPath(path);
  if (!format) return Conversion::Failed(ConversionFailure::kBadImage);
  const std::unique_ptr<File> file = fs_.OpenRead(path);
  if (!file) return Conversion::Failed(ConversionFailure::kCannotOpen);
  try {
    std::optional<std::string> jpeg = ConvertToJpeg(*file, *format, quality, progress);
    if (!jpeg) return Conversion::Failed(ConversionFailure::kBadImage);
    return {ConversionFailure::kNone, std::move(*jpeg)};
  } catch (const std::bad_alloc&) {
    return Conversion::Failed(ConversionFailure::kOutOfMemory);
  }
}

}  // namespace shifrodel
