// The layer and mask section of a Photoshop file. Its layers are not composed
// (the merged image is read instead), but the section is checked for
// consistency, since a damaged one marks a damaged file, and it tells
// whether the merged image carries transparency.
#ifndef SHIFRODEL_IMAGING_PSD_LAYERS_H_
#define SHIFRODEL_IMAGING_PSD_LAYERS_H_

#include "imaging/psd_layout.h"
#include "imaging/stretch_reader.h"

namespace shifrodel {

// Walks `section` (the section's bytes after its length): the layer records
// with their channel lengths, the global mask, and the tagged blocks after
// it (16- and 32-bit layers, merged-transparency marks). Sets
// layout.merged_alpha. False when a layer record is malformed (a rectangle
// upside down, too many channels, a bad blend signature) or the records and
// channel data do not fit their section.
bool CheckPsdLayers(StretchReader& section, PsdLayout& layout);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_PSD_LAYERS_H_
