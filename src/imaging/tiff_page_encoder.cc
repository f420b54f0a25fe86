#include "imaging/tiff_page_encoder.h"

#include <algorithm>
#include <memory>

#include "imaging/tiff_lzw_encoder.h"
#include "imaging/tiff_predictor.h"
#include "imaging/tiff_sample_digest.h"

namespace shifrodel {
namespace {

class PageEncoder {
 public:
  PageEncoder(TiffFile& reader, const TiffPagePlan& plan, TiffIfdWriter& writer,
              TiffEncodedPage* page, std::string* why)
      : reader_(reader),
        plan_(plan),
        writer_(writer),
        page_(page),
        why_(why),
        preparer_(plan.samples) {}

  bool Run() {
    const std::uint64_t unit_bytes =
        plan_.tiled ? plan_.tile_bytes : plan_.row_bytes * plan_.rows_per_strip;
    buffer_ = std::make_unique_for_overwrite<std::uint8_t[]>(unit_bytes);
    page_->offsets.reserve(plan_.UnitCount());
    page_->byte_counts.reserve(plan_.UnitCount());
    const bool ok = plan_.tiled ? Tiles() : Strips();
    page_->digest = digest_.Value();
    return ok;
  }

 private:
  bool Strips() {
    TIFF* tiff = reader_.tiff();
    for (std::uint32_t plane = 0; plane < plan_.planes; ++plane) {
      for (std::uint32_t row = 0; row < plan_.length; row += plan_.rows_per_strip) {
        const std::uint32_t rows = std::min(plan_.rows_per_strip, plan_.length - row);
        for (std::uint32_t k = 0; k < rows; ++k) {
          if (TIFFReadScanline(tiff, buffer_.get() + k * plan_.row_bytes, row + k,
                               static_cast<std::uint16_t>(plane)) < 0 ||
              reader_.failed()) {
            return Fail(reader_.Error("row " + std::to_string(row + k) + " cannot be decoded"));
          }
        }
        if (!Emit(rows)) return false;
      }
    }
    return true;
  }

  bool Tiles() {
    TIFF* tiff = reader_.tiff();
    const auto size = static_cast<tmsize_t>(plan_.tile_bytes);
    const std::uint64_t count = plan_.UnitCount();
    for (std::uint64_t tile = 0; tile < count; ++tile) {
      if (TIFFReadEncodedTile(tiff, static_cast<std::uint32_t>(tile), buffer_.get(), size) !=
              size ||
          reader_.failed()) {
        return Fail(reader_.Error("tile " + std::to_string(tile) + " cannot be decoded"));
      }
      if (!Emit(plan_.tile_length)) return false;
    }
    return true;
  }

  // Fingerprints, predicts, encodes and writes the first `rows` rows of the
  // buffer as one strip or tile.
  bool Emit(std::uint32_t rows) {
    const std::size_t size = plan_.row_bytes * rows;
    digest_.Update(buffer_.get(), size);
    preparer_.Prepare(buffer_.get(), plan_.row_bytes, rows);
    const auto codes = lzw_.Encode(buffer_.get(), size);
    const std::uint64_t offset = writer_.Position();
    if (!writer_.OffsetFits(offset + codes.size())) {
      return Fail("the LZW version outgrows a classic TIFF file");
    }
    if (!writer_.Write(codes.data(), codes.size())) return Fail("the output cannot be written");
    page_->offsets.push_back(offset);
    page_->byte_counts.push_back(codes.size());
    return true;
  }

  bool Fail(std::string text) {
    if (why_ != nullptr) *why_ = std::move(text);
    return false;
  }

  TiffFile& reader_;
  const TiffPagePlan& plan_;
  TiffIfdWriter& writer_;
  TiffEncodedPage* page_;
  std::string* why_;
  TiffSamplePreparer preparer_;
  TiffLzwEncoder lzw_;
  TiffSampleDigest digest_;
  std::unique_ptr<std::uint8_t[]> buffer_;
};

}  // namespace

bool EncodeTiffPage(TiffFile& reader, const TiffPagePlan& plan, TiffIfdWriter& writer,
                    TiffEncodedPage* page, std::string* why) {
  return PageEncoder(reader, plan, writer, page, why).Run();
}

}  // namespace shifrodel
