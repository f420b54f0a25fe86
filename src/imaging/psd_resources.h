// The image resources of a Photoshop file that matter for a copy: the
// resolution (0x03ED), the ICC profile (0x040F), an indexed image's
// transparent colour (0x0417) and the display information of the extra
// channels (0x0435, or the older 0x03EF), which names the spot inks. Every
// block is checked; the others are skipped.
#ifndef SHIFRODEL_IMAGING_PSD_RESOURCES_H_
#define SHIFRODEL_IMAGING_PSD_RESOURCES_H_

#include "imaging/psd_layout.h"
#include "imaging/stretch_reader.h"

namespace shifrodel {

// Reads the resource blocks of `section` (the section's bytes after its
// length) into `layout`. False when a block has no known signature or runs
// past the section.
bool ReadPsdResources(StretchReader& section, PsdLayout& layout);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PSD_RESOURCES_H_
