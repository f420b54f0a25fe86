// The one road from an open image file to the bytes of a JPEG file: the
// format's decoder streams rows into the encoder, which writes them with the
// layer's fixed settings. The converter and the fuzz targets both use it.
#ifndef SHIFRODEL_IMAGING_CONVERT_H_
#define SHIFRODEL_IMAGING_CONVERT_H_

#include <optional>
#include <string>

#include "imaging/jpeg_converter.h"
#include "imaging/source_format.h"
#include "platform/file_system.h"

namespace shifrodel {

// The JPEG file, or nullopt when the content is not a readable image of
// `format` (or the format has no decoder in this build). `quality` is 1 to
// 100; `progress`, when set, is called regularly during the work. Throws
// std::bad_alloc for an image too large for the memory at hand.
std::optional<std::string> ConvertToJpeg(File& source, SourceFormat format, int quality,
                                         const ProgressFn& progress);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_CONVERT_H_
