// The image formats that the layer reads, and the rule that picks one for a
// file: its name's extension alone decides, never the content, so a file
// whose content is of another format fails to load.
#ifndef SHIFRODEL_IMAGING_SOURCE_FORMAT_H_
#define SHIFRODEL_IMAGING_SOURCE_FORMAT_H_

#include <optional>
#include <string_view>

namespace shifrodel {

enum class SourceFormat { kJpeg, kTiff, kBmp, kPsd };

// jpg, jpeg, jpe, jif: JPEG; tif, tiff, fax, g3n, g3f, xif: TIFF; bmp, dib,
// rle: BMP; psd: Photoshop; compared without regard to case. nullopt for
// any other extension and for a name without one.
std::optional<SourceFormat> SourceFormatForPath(std::string_view path);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_SOURCE_FORMAT_H_
