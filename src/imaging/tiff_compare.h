// The check of a re-encoded TIFF file against its original before it may
// take the original's place: the same pages, the same tags byte for byte
// (the encoding tags aside, the EXIF, GPS and Interoperability directories
// compared entry by entry), and samples that decode to the fingerprints
// taken from the original while it was encoded.
#ifndef SHIFRODEL_IMAGING_TIFF_COMPARE_H_
#define SHIFRODEL_IMAGING_TIFF_COMPARE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/tiff_ifd.h"
#include "imaging/tiff_page_plan.h"
#include "platform/file_system.h"

namespace shifrodel {

// True when `copy` holds everything `original` holds. False, with why, on
// the first difference or when `copy` cannot be read.
bool CompareTiffCopy(File& original, const TiffLayout& layout,
                     const std::vector<TiffPagePlan>& plans,
                     const std::vector<std::uint64_t>& digests, File& copy, std::string* why);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_COMPARE_H_
