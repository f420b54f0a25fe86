// Whether an embedded ICC profile describes the pixels a decoder delivers:
// a profile travels with the image only when its colour space is the
// output's (a CMYK profile says nothing about RGB pixels converted from it).
#ifndef SHIFRODEL_IMAGING_ICC_PROFILE_H_
#define SHIFRODEL_IMAGING_ICC_PROFILE_H_

#include <string_view>

#include "imaging/image_decoder.h"

namespace shifrodel {

// True when `profile` is a well-formed ICC profile (the "acsp" signature,
// a declared size that the bytes hold) whose data colour space is that of
// `format`: "GRAY" for kGrey8, "RGB " for kRgb8, "CMYK" for kCmyk8.
bool IccProfileFits(std::string_view profile, PixelFormat format);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_ICC_PROFILE_H_
