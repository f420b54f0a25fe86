#include "imaging/source_format.h"

#include <string>

#include "text/case_tables.h"
#include "text/path_rules.h"

namespace shifrodel {

std::optional<SourceFormat> SourceFormatForPath(std::string_view path) {
  struct Entry {
    const char* extension;
    SourceFormat format;
  };
  static constexpr Entry kEntries[] = {
      {".jpg", SourceFormat::kJpeg}, {".jpeg", SourceFormat::kJpeg}, {".jpe", SourceFormat::kJpeg},
      {".jif", SourceFormat::kJpeg}, {".tif", SourceFormat::kTiff},  {".tiff", SourceFormat::kTiff},
      {".fax", SourceFormat::kTiff}, {".g3n", SourceFormat::kTiff},  {".g3f", SourceFormat::kTiff},
      {".xif", SourceFormat::kTiff}, {".bmp", SourceFormat::kBmp},   {".dib", SourceFormat::kBmp},
      {".rle", SourceFormat::kBmp},  {".psd", SourceFormat::kPsd},
  };
  const std::string extension = LowerCase(ExtractFileExt(path));
  for (const Entry& entry : kEntries) {
    if (extension == entry.extension) return entry.format;
  }
  return std::nullopt;
}

}  // namespace shifrodel
