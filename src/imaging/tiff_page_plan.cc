#include "imaging/tiff_page_plan.h"

#include <algorithm>
#include <bit>
#include <set>

namespace shifrodel {
namespace {

// A strip of the LZW version holds about this many bytes of samples: large
// enough that the restarts of the code table and of the predictor at every
// strip cost next to nothing, small enough for any reader.
constexpr std::uint64_t kTargetStripBytes = 128 * 1024;
// The largest row, strip or tile the re-encoder holds in memory.
constexpr std::uint64_t kMaxBufferBytes = 256ull << 20;

constexpr std::uint16_t kPhotometricPalette = 3;
constexpr std::uint16_t kPhotometricYCbCr = 6;
constexpr std::uint16_t kPhotometricLogL = 32844;
constexpr std::uint16_t kPhotometricLogLuv = 32845;

std::string TagText(std::uint16_t tag) { return "tag " + std::to_string(tag); }

bool Refuse(std::string* why, const std::string& text) {
  if (why != nullptr) *why = text;
  return false;
}

bool IsJpeg(std::uint16_t compression) {
  return compression == COMPRESSION_OJPEG || compression == COMPRESSION_JPEG ||
         compression == 34892;  // lossy JPEG of DNG
}

// Lossless codings whose decoded samples are exactly what was stored.
bool IsLossless(std::uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE:
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
    case COMPRESSION_LZW:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
    case COMPRESSION_PACKBITS:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_NEXT:
    case COMPRESSION_THUNDERSCAN:
    case COMPRESSION_LZMA:
    case COMPRESSION_ZSTD:
      return true;
    default:
      return false;
  }
}

// The sizes libtiff swaps into the host's byte order when it decodes.
bool SwappedSampleSize(int bits) { return bits == 16 || bits == 24 || bits == 32 || bits == 64; }

// True when every value of a SHORT entry (one per sample) is the same.
bool AllValuesEqual(File& file, const TiffLayout& layout, const TiffEntry* entry) {
  if (entry == nullptr || entry->count <= 1) return true;
  const auto first = ReadTiffUint(file, layout, *entry, 0);
  for (std::uint64_t i = 1; i < entry->count; ++i) {
    if (ReadTiffUint(file, layout, *entry, i) != first) return false;
  }
  return true;
}

}  // namespace

std::uint64_t TiffPagePlan::UnitCount() const {
  if (tiled) {
    const std::uint64_t across = (width + tile_width - 1) / tile_width;
    const std::uint64_t down = (length + tile_length - 1) / tile_length;
    return across * down * planes;
  }
  return ((length + rows_per_strip - 1) / rows_per_strip) * planes;
}

bool IsEncodingTag(std::uint16_t tag) {
  switch (tag) {
    case kTagCompression:
    case kTagStripOffsets:
    case kTagRowsPerStrip:
    case kTagStripByteCounts:
    case kTagT4Options:
    case kTagT6Options:
    case kTagPredictor:
    case kTagTileOffsets:
    case kTagTileByteCounts:
      return true;
    default:
      return false;
  }
}

bool CheckEntriesCarriable(File& file, const TiffLayout& layout, const TiffIfd& ifd, bool is_page,
                           std::string* why) {
  std::set<std::uint16_t> seen;
  for (const TiffEntry& entry : ifd.entries) {
    if (!seen.insert(entry.tag).second) {
      return Refuse(why, TagText(entry.tag) + " appears twice in one directory");
    }
    if (TiffTypeSize(entry.type) == 0) {
      return Refuse(why, TagText(entry.tag) + " has a field type (" + std::to_string(entry.type) +
                             ") this program does not know");
    }
    switch (entry.tag) {
      case kTagSubIfds:
        return Refuse(why, "it has sub-IFDs");
      case kTagFreeOffsets:
      case kTagFreeByteCounts:
      case kTagGlobalParametersIfd:
      case kTagJpegInterchangeFormat:
      case kTagJpegInterchangeFormatLength:
      case kTagJpegQTables:
      case kTagJpegDcTables:
      case kTagJpegAcTables:
        return Refuse(why, TagText(entry.tag) + " points elsewhere in the file");
      case kTagMakerNote:
        if (!is_page) return Refuse(why, "its EXIF maker note may point elsewhere in the file");
        break;
      default:
        break;
    }
    const bool pointer = is_page ? entry.tag == kTagExifIfd || entry.tag == kTagGpsIfd
                                 : entry.tag == kTagInteroperabilityIfd;
    if (pointer) {
      if (entry.subdirectory < 0) {
        return Refuse(why, TagText(entry.tag) + " does not point to a directory");
      }
      const TiffIfd& sub = layout.subdirectories[entry.subdirectory];
      if (sub.next != 0) {
        return Refuse(why, "the directory of " + TagText(entry.tag) + " continues into a chain");
      }
      if (!CheckEntriesCarriable(file, layout, sub, false, why)) return false;
    } else if (entry.type == kTypeIfd || entry.type == kTypeIfd8) {
      return Refuse(why, TagText(entry.tag) + " points elsewhere in the file");
    }
  }
  return true;
}

std::optional<TiffPagePlan> PlanTiffPage(TIFF* tiff, File& file, const TiffLayout& layout,
                                         const TiffIfd& page, std::string* why) {
  std::uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  if (IsJpeg(compression)) {
    Refuse(why, "JPEG-compressed: its lossy data would only grow under LZW");
    return std::nullopt;
  }
  if (!IsLossless(compression)) {
    Refuse(why,
           "compression " + std::to_string(compression) + " is not one this program re-encodes");
    return std::nullopt;
  }
  if (!TIFFIsCODECConfigured(compression)) {
    Refuse(why, "libtiff cannot decode compression " + std::to_string(compression) + " here");
    return std::nullopt;
  }

  std::uint16_t photometric = 0;
  const bool has_photometric = TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) == 1;
  if (photometric == kPhotometricLogL || photometric == kPhotometricLogLuv) {
    Refuse(why, "LogLuv data, which libtiff converts as it decodes");
    return std::nullopt;
  }
  if (has_photometric && photometric == kPhotometricYCbCr) {
    std::uint16_t h = 1, v = 1;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_YCBCRSUBSAMPLING, &h, &v);
    if (h != 1 || v != 1) {
      Refuse(why, "subsampled YCbCr");
      return std::nullopt;
    }
  }
  std::uint16_t fill_order = FILLORDER_MSB2LSB;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_FILLORDER, &fill_order);
  if (fill_order != FILLORDER_MSB2LSB) {
    Refuse(why, "its bits are stored in reverse order (FillOrder 2)");
    return std::nullopt;
  }
  if (const TiffEntry* depth = page.Find(kTagImageDepth)) {
    if (ReadTiffUint(file, layout, *depth).value_or(2) != 1) {
      Refuse(why, "a volume image (ImageDepth)");
      return std::nullopt;
    }
  }

  TiffPagePlan plan;
  std::uint16_t bits = 1, samples = 1, format = SAMPLEFORMAT_UINT, planar = PLANARCONFIG_CONTIG;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &plan.width) != 1 ||
      TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &plan.length) != 1 || plan.width == 0 ||
      plan.length == 0 || samples == 0) {
    Refuse(why, "a page without pixels");
    return std::nullopt;
  }
  if (bits == 0 || bits > 64) {
    Refuse(why, "samples of " + std::to_string(bits) + " bits");
    return std::nullopt;
  }
  if (!AllValuesEqual(file, layout, page.Find(TIFFTAG_BITSPERSAMPLE)) ||
      !AllValuesEqual(file, layout, page.Find(TIFFTAG_SAMPLEFORMAT))) {
    Refuse(why, "samples of different kinds in one pixel");
    return std::nullopt;
  }
  plan.planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
  plan.tiled = TIFFIsTiled(tiff) != 0;
  if (plan.tiled) {
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &plan.tile_width);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &plan.tile_length);
    plan.row_bytes = TIFFTileRowSize64(tiff);
    plan.tile_bytes = TIFFTileSize64(tiff);
    if (plan.tile_width == 0 || plan.tile_length == 0 || plan.row_bytes == 0 ||
        plan.tile_bytes != plan.row_bytes * plan.tile_length || plan.tile_bytes > kMaxBufferBytes) {
      Refuse(why, "tiles of a size libtiff cannot read");
      return std::nullopt;
    }
  } else {
    plan.row_bytes = TIFFScanlineSize64(tiff);
    if (plan.row_bytes == 0 || plan.row_bytes > kMaxBufferBytes) {
      Refuse(why, "rows of a size libtiff cannot read");
      return std::nullopt;
    }
    plan.rows_per_strip = static_cast<std::uint32_t>(
        std::clamp<std::uint64_t>(kTargetStripBytes / plan.row_bytes, 1, plan.length));
  }

  plan.samples.predictor =
      ChoosePredictor(bits, format, has_photometric && photometric == kPhotometricPalette);
  plan.samples.bits_per_sample = bits;
  plan.samples.stride = planar == PLANARCONFIG_SEPARATE ? 1 : samples;
  plan.samples.swap_bytes =
      layout.big_endian != (std::endian::native == std::endian::big) && SwappedSampleSize(bits);
  return plan;
}

}  // namespace shifrodel
