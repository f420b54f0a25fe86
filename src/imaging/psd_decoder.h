// Our own reader of the merged (composite) image of Photoshop files, version
// 1: bitmap, greyscale, duotone (as grey), indexed, RGB, CMYK, Lab and
// multichannel modes at 1, 8, 16 and 32 bits, raw or PackBits. Layers are not
// composed: the merged image is what Photoshop itself shows.
#ifndef SHIFRODEL_IMAGING_PSD_DECODER_H_
#define SHIFRODEL_IMAGING_PSD_DECODER_H_

#include <memory>

#include "imaging/image_decoder.h"
#include "platform/file_system.h"

namespace shifrodel {

// A decoder reading `file`, which must stay open while it is used; nullptr
// when the file is not a Photoshop image that this reader decodes (see
// ReadPsdLayout). Output: bitmap, greyscale, duotone, and multichannel
// images of one or two channels as kGrey8 (an indexed image too when its
// palette is grey); the rest as kRgb8. CMYK becomes RGB by
// CmykToRgb, Lab by LabToRgb; 16-bit samples are scaled, 32-bit (linear)
// ones encoded as sRGB. Multichannel images of three channels are read as
// RGB, of four or more as CMYK. The merged transparency, when the file has
// one, and an indexed image's transparent colour are laid over white. The
// ICC profile comes along when its colour space is the output's (not for
// 32-bit images, whose profile describes linear light).
std::unique_ptr<ImageDecoder> OpenPsdDecoder(File& file);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PSD_DECODER_H_
