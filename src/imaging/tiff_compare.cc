#include "imaging/tiff_compare.h"

#include <algorithm>
#include <memory>

#include "imaging/file_bytes.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_sample_digest.h"

namespace shifrodel {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

struct Side {
  File& file;
  const TiffLayout& layout;
};

bool SameBytes(Side a, std::uint64_t a_offset, Side b, std::uint64_t b_offset, std::uint64_t size) {
  std::vector<std::uint8_t> x(std::min<std::uint64_t>(size, kChunk));
  std::vector<std::uint8_t> y(x.size());
  for (std::uint64_t done = 0; done < size;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(x.size(), size - done));
    if (!ReadAt(a.file, a_offset + done, x.data(), n) ||
        !ReadAt(b.file, b_offset + done, y.data(), n) ||
        !std::equal(x.begin(), x.begin() + n, y.begin())) {
      return false;
    }
    done += n;
  }
  return true;
}

std::vector<const TiffEntry*> Carried(const TiffIfd& ifd, bool is_page) {
  std::vector<const TiffEntry*> entries;
  for (const TiffEntry& e : ifd.entries) {
    if (!is_page || !IsEncodingTag(e.tag)) entries.push_back(&e);
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TiffEntry* x, const TiffEntry* y) { return x->tag < y->tag; });
  return entries;
}

bool SameIfd(Side a, const TiffIfd& a_ifd, Side b, const TiffIfd& b_ifd, bool is_page,
             std::string* why) {
  const auto x = Carried(a_ifd, is_page);
  const auto y = Carried(b_ifd, is_page);
  for (std::size_t i = 0; i < std::max(x.size(), y.size()); ++i) {
    if (i >= x.size() || i >= y.size() || x[i]->tag != y[i]->tag) {
      const std::uint16_t tag = i < x.size() ? x[i]->tag : y[i]->tag;
      *why = "tag " + std::to_string(tag) + " is missing on one side";
      return false;
    }
    const TiffEntry& e = *x[i];
    const TiffEntry& f = *y[i];
    bool same = e.type == f.type && e.count == f.count;
    if (same && e.subdirectory >= 0) {
      if (f.subdirectory < 0) {
        same = false;
      } else if (!SameIfd(a, a.layout.subdirectories[e.subdirectory], b,
                          b.layout.subdirectories[f.subdirectory], false, why)) {
        return false;
      }
    } else if (same) {
      same = f.subdirectory < 0 && e.value_size == f.value_size &&
             SameBytes(a, e.value_offset, b, f.value_offset, e.value_size);
    }
    if (!same) {
      *why = "tag " + std::to_string(e.tag) + " differs";
      return false;
    }
  }
  return true;
}

// Decodes the page the handle is on, strip by strip or tile by tile, as the
// plan laid it out, and fingerprints its samples.
bool DigestCopyPage(TiffFile& reader, const TiffPagePlan& plan, std::uint64_t* digest,
                    std::string* why) {
  TIFF* tiff = reader.tiff();
  std::uint16_t compression = 0;
  TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
  const std::uint64_t units = plan.tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  const std::uint64_t unit_bytes =
      plan.tiled ? plan.tile_bytes : plan.row_bytes * plan.rows_per_strip;
  const std::uint64_t libtiff_bytes = plan.tiled ? TIFFTileSize64(tiff) : TIFFStripSize64(tiff);
  if (compression != COMPRESSION_LZW || (TIFFIsTiled(tiff) != 0) != plan.tiled ||
      units != plan.UnitCount() || libtiff_bytes != unit_bytes) {
    *why = "it is not laid out as it was written";
    return false;
  }
  auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(unit_bytes);
  TiffSampleDigest samples;
  const std::uint64_t strips_per_plane = units / plan.planes;
  for (std::uint64_t unit = 0; unit < units; ++unit) {
    std::uint64_t expected = unit_bytes;
    tmsize_t got;
    if (plan.tiled) {
      got = TIFFReadEncodedTile(tiff, static_cast<std::uint32_t>(unit), buffer.get(),
                                static_cast<tmsize_t>(unit_bytes));
    } else {
      const std::uint64_t first_row = (unit % strips_per_plane) * plan.rows_per_strip;
      expected =
          plan.row_bytes * std::min<std::uint64_t>(plan.rows_per_strip, plan.length - first_row);
      got = TIFFReadEncodedStrip(tiff, static_cast<std::uint32_t>(unit), buffer.get(),
                                 static_cast<tmsize_t>(unit_bytes));
    }
    if (got < 0 || static_cast<std::uint64_t>(got) != expected || reader.failed()) {
      *why = reader.Error("it cannot be decoded");
      return false;
    }
    samples.Update(buffer.get(), expected);
  }
  *digest = samples.Value();
  return true;
}

}  // namespace

bool CompareTiffCopy(File& original, const TiffLayout& layout,
                     const std::vector<TiffPagePlan>& plans,
                     const std::vector<std::uint64_t>& digests, File& copy, std::string* why) {
  std::string detail;
  const auto copy_layout = ReadTiffLayout(copy, &detail);
  if (!copy_layout) {
    *why = "the temporary file cannot be read back: " + detail;
    return false;
  }
  if (copy_layout->big_endian != layout.big_endian || copy_layout->bigtiff != layout.bigtiff ||
      copy_layout->pages.size() != layout.pages.size()) {
    *why = "the temporary file does not have the original's form and pages";
    return false;
  }
  const Side a{original, layout};
  const Side b{copy, *copy_layout};
  for (std::size_t p = 0; p < layout.pages.size(); ++p) {
    if (!SameIfd(a, layout.pages[p], b, copy_layout->pages[p], true, &detail)) {
      *why = "page " + std::to_string(p + 1) + " of the temporary file: " + detail;
      return false;
    }
  }

  auto reader = TiffFile::Open(copy, &detail);
  if (reader == nullptr) {
    *why = "libtiff cannot read the temporary file: " + detail;
    return false;
  }
  for (std::size_t p = 0; p < plans.size(); ++p) {
    std::uint64_t digest = 0;
    detail.clear();
    if ((p > 0 && TIFFReadDirectory(reader->tiff()) != 1) || reader->failed() ||
        !DigestCopyPage(*reader, plans[p], &digest, &detail)) {
      *why = "page " + std::to_string(p + 1) + " of the temporary file: " +
             (detail.empty() ? reader->Error("it cannot be read") : detail);
      return false;
    }
    if (digest != digests[p]) {
      *why = "page " + std::to_string(p + 1) + " of the temporary file decodes to other samples";
      return false;
    }
  }
  return true;
}

}  // namespace shifrodel
