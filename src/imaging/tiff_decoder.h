// The TIFF decoder: the first image of a TIFF file as RGB rows, through
// the scanline road where the layout allows and libtiff's RGBA interface
// otherwise, turned as its Orientation tag says.
#ifndef SHIFRODEL_IMAGING_TIFF_DECODER_H_
#define SHIFRODEL_IMAGING_TIFF_DECODER_H_

#include <memory>

#include "imaging/image_decoder.h"
#include "platform/file_system.h"

namespace shifrodel {

// nullptr when the file is not a TIFF file, its first image is damaged,
// of a kind that libtiff cannot read as RGBA (floating-point or 32-bit
// samples, 12-bit samples), or larger than a JPEG file can hold.
std::unique_ptr<ImageDecoder> OpenTiffDecoder(File& file);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_DECODER_H_
