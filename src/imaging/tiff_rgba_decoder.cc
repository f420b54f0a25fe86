#include "imaging/tiff_rgba_decoder.h"

#include <algorithm>
#include <vector>

namespace shifrodel {
namespace {

class RgbaDecoder final : public ImageDecoder {
 public:
  RgbaDecoder(std::unique_ptr<TiffFile> file, const ImageHeader& header, std::uint32_t band_rows)
      : file_(std::move(file)), header_(header), band_rows_(band_rows) {
    header_.format = PixelFormat::kRgb8;
  }
  ~RgbaDecoder() override {
    if (begun_) TIFFRGBAImageEnd(&image_);
  }

  bool Begin() {
    char message[1024];
    if (!TIFFRGBAImageOK(file_->tiff(), message) ||
        !TIFFRGBAImageBegin(&image_, file_->tiff(), 1, message)) {
      return false;
    }
    begun_ = true;
    std::uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(file_->tiff(), TIFFTAG_COMPRESSION, &compression);
    if (TIFFIsTiled(file_->tiff()) && compression == COMPRESSION_NONE) {
      // libtiff 4.5 insists that the read buffer of an uncompressed tile be
      // exactly one tile long, but rounds the buffers it allocates itself
      // up to whole kilobytes; so the buffer is ours.
      const std::int64_t tile_size = TIFFTileSize64(file_->tiff());
      if (tile_size <= 0 || tile_size > TiffFile::kMaxAllocation) return false;
      raw_tile_.resize(static_cast<std::size_t>(tile_size));
      TIFFReadBufferSetup(file_->tiff(), raw_tile_.data(), tile_size);
    }
    // Orientation is applied later, for the whole image: libtiff would only
    // flip within each band.
    image_.orientation = ORIENTATION_TOPLEFT;
    image_.req_orientation = ORIENTATION_TOPLEFT;
    band_.resize(std::size_t{header_.width} * band_rows_);
    return !file_->failed();
  }

  const ImageHeader& header() const override { return header_; }

  bool ReadRows(std::uint8_t* out, std::uint32_t count) override {
    const std::size_t width = header_.width;
    for (std::uint32_t i = 0; i < count; ++i, ++row_) {
      if (row_ >= header_.height) return false;
      if (row_ >= band_top_ + band_height_ && !LoadBand()) return false;
      const std::uint32_t* pixel = band_.data() + (row_ - band_top_) * width;
      std::uint8_t* rgb = out + i * width * 3;
      for (std::size_t x = 0; x < width; ++x, rgb += 3) {
        // Premultiplied colour laid over white: c + (255 - alpha).
        const std::uint32_t p = pixel[x];
        const unsigned paper = 255u - TIFFGetA(p);
        rgb[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(p) + paper));
        rgb[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(p) + paper));
        rgb[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(p) + paper));
      }
    }
    return true;
  }

 private:
  bool LoadBand() {
    band_top_ = row_;
    band_height_ = std::min(band_rows_, header_.height - row_);
    image_.row_offset = static_cast<int>(band_top_);
    image_.col_offset = 0;
    return TIFFRGBAImageGet(&image_, band_.data(), header_.width, band_height_) && !file_->failed();
  }

  std::unique_ptr<TiffFile> file_;
  ImageHeader header_;
  std::uint32_t band_rows_;
  TIFFRGBAImage image_{};
  bool begun_ = false;
  std::vector<std::uint32_t> band_;
  std::vector<std::uint8_t> raw_tile_;
  std::uint32_t band_top_ = 0;
  std::uint32_t band_height_ = 0;
  std::uint32_t row_ = 0;
};

// Rows in one band: a strip, or a row of tiles.
std::uint32_t BandRows(TIFF* tiff, std::uint32_t height) {
  std::uint32_t rows = height;
  if (TIFFIsTiled(tiff)) {
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &rows);
  } else {
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
  }
  return std::clamp<std::uint32_t>(rows, 1, height);
}

}  // namespace

std::unique_ptr<ImageDecoder> OpenTiffRgbaDecoder(std::unique_ptr<TiffFile> file,
                                                  const ImageHeader& header) {
  const std::uint32_t band_rows = BandRows(file->tiff(), header.height);
  if (std::uint64_t{header.width} * band_rows * 4 > TiffFile::kMaxAllocation) return nullptr;
  auto decoder = std::make_unique<RgbaDecoder>(std::move(file), header, band_rows);
  if (!decoder->Begin()) return nullptr;
  return decoder;
}

}  // namespace shifrodel
