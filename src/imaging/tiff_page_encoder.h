// Encodes the samples of one page: decodes the source through libtiff a
// strip or tile at a time, takes the fingerprint of the samples, applies the
// predictor and LZW, and writes the result at the writer's position.
#ifndef SHIFRODEL_IMAGING_TIFF_PAGE_ENCODER_H_
#define SHIFRODEL_IMAGING_TIFF_PAGE_ENCODER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/tiff_file.h"
#include "imaging/tiff_ifd_writer.h"
#include "imaging/tiff_page_plan.h"

namespace shifrodel {

struct TiffEncodedPage {
  // Where each strip or tile of the LZW version lies, and its length.
  std::vector<std::uint64_t> offsets;
  std::vector<std::uint64_t> byte_counts;
  // The fingerprint of the page's decoded samples.
  std::uint64_t digest = 0;
};

// Encodes the page that the reader's handle is on. False, with why, when
// the source cannot be decoded or the output cannot be written.
bool EncodeTiffPage(TiffFile& reader, const TiffPagePlan& plan, TiffIfdWriter& writer,
                    TiffEncodedPage* page, std::string* why);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_PAGE_ENCODER_H_
