// Whether a TIFF page can be re-encoded with LZW without losing anything,
// and how: its strip or tile layout, the size of its rows and the predictor.
// A page is refused when it holds something that would not survive being
// moved to a new file (sub-IFDs, a tag whose value points elsewhere in the
// file), when its data is JPEG-compressed, or when libtiff would not hand
// out its samples exactly as they are stored.
#ifndef SHIFRODEL_IMAGING_TIFF_PAGE_PLAN_H_
#define SHIFRODEL_IMAGING_TIFF_PAGE_PLAN_H_

#include <tiffio.h>

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/tiff_ifd.h"
#include "imaging/tiff_predictor.h"

namespace shifrodel {

struct TiffPagePlan {
  bool tiled = false;
  std::uint32_t width = 0;
  std::uint32_t length = 0;
  std::uint32_t tile_width = 0;
  std::uint32_t tile_length = 0;
  // 1 when the samples of a pixel are interleaved, else one per sample.
  std::uint32_t planes = 1;
  // Rows of a strip of the LZW version (strips only).
  std::uint32_t rows_per_strip = 0;
  // Bytes of one row of a plane (strips) or of one row of a tile.
  std::uint64_t row_bytes = 0;
  std::uint64_t tile_bytes = 0;
  TiffSampleLayout samples;

  // Strips or tiles of the LZW version.
  std::uint64_t UnitCount() const;
};

// True for the tags that describe how a page's data is encoded, which the
// LZW version writes anew: compression, predictor, the strip or tile
// offsets and byte counts, the strip height and the fax coding options.
bool IsEncodingTag(std::uint16_t tag);

// Checks every entry of a directory (a page or one of the EXIF, GPS and
// Interoperability directories) for what cannot be carried into a new file.
bool CheckEntriesCarriable(File& file, const TiffLayout& layout, const TiffIfd& ifd, bool is_page,
                           std::string* why);

// The plan for the page libtiff's handle is on, or nullopt and why not.
std::optional<TiffPagePlan> PlanTiffPage(TIFF* tiff, File& file, const TiffLayout& layout,
                                         const TiffIfd& page, std::string* why);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_PAGE_PLAN_H_
