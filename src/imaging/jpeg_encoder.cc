#include "imaging/jpeg_encoder.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/jpeg_memory_destination.h"
#include "imaging/libjpeg_errors.h"
#include "imaging/pixel_rows.h"

namespace shifrodel {
namespace {

constexpr std::uint32_t kMaxDimension = 65500;  // libjpeg's limit
constexpr std::uint32_t kBandRows = 16;         // one MCU row at 2x2 subsampling

struct ColourSetup {
  J_COLOR_SPACE input;
  J_COLOR_SPACE coded;
  PixelFormat pixels;
};

ColourSetup SetupFor(JpegColourModel model) {
  switch (model) {
    case JpegColourModel::kGrey:
      return {JCS_GRAYSCALE, JCS_GRAYSCALE, PixelFormat::kGrey8};
    case JpegColourModel::kRgb:
      return {JCS_RGB, JCS_RGB, PixelFormat::kRgb8};
    case JpegColourModel::kCmyk:
      return {JCS_CMYK, JCS_CMYK, PixelFormat::kCmyk8};
    case JpegColourModel::kYcck:
      return {JCS_CMYK, JCS_YCCK, PixelFormat::kCmyk8};
    case JpegColourModel::kYCbCr:
      break;
  }
  return {JCS_RGB, JCS_YCbCr, PixelFormat::kRgb8};
}

// Pulls rows from the decoder in the pixel format that the encoder takes.
class RowSource {
 public:
  RowSource(ImageDecoder& decoder, PixelFormat wanted)
      : decoder_(decoder),
        width_(decoder.header().width),
        given_(decoder.header().format),
        wanted_(wanted) {
    if (given_ != wanted_) scratch_.resize(std::size_t{width_} * ChannelCount(given_) * kBandRows);
  }

  // False when the decoder fails or the formats have no conversion.
  bool Read(std::uint8_t* out, std::uint32_t rows) {
    if (given_ == wanted_) return decoder_.ReadRows(out, rows);
    if (wanted_ != PixelFormat::kRgb8 || !decoder_.ReadRows(scratch_.data(), rows)) return false;
    const std::size_t pixels = std::size_t{width_} * rows;
    if (given_ == PixelFormat::kGrey8) {
      GreyToRgbRow(scratch_.data(), out, pixels);
    } else {
      CmykToRgbRow(scratch_.data(), out, pixels);
    }
    return true;
  }

 private:
  ImageDecoder& decoder_;
  std::uint32_t width_;
  PixelFormat given_;
  PixelFormat wanted_;
  std::vector<std::uint8_t> scratch_;
};

// Everything the compression touches, kept in memory apart from the guarded
// work so that a jump out of libjpeg loses nothing.
// libjpeg's memory goes with it, however the compression ends: a jump, an
// exception from the decoder, or a finished file.
struct Compression {
  Compression() = default;
  ~Compression() { jpeg_destroy_compress(&info); }
  Compression(const Compression&) = delete;
  Compression& operator=(const Compression&) = delete;

  jpeg_compress_struct info{};
  LibjpegErrors errors;
  JpegMemoryDestination destination;
  std::vector<std::uint8_t> band;
  std::unique_ptr<RowSource> rows;
  bool source_failed = false;
};

void Configure(Compression& c, const ImageHeader& header, const JpegSettings& settings,
               const ColourSetup& colour) {
  jpeg_compress_struct& info = c.info;
  info.image_width = header.width;
  info.image_height = header.height;
  info.input_components = ChannelCount(colour.pixels);
  info.in_color_space = colour.input;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, colour.coded);
  jpeg_set_quality(&info, settings.quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  info.optimize_coding = FALSE;
  info.smoothing_factor = 0;
  // The density travels in the JFIF header, which libjpeg leaves out for
  // CMYK and YCCK files unless asked. An RGB file goes without: readers
  // take the scans of a three-component JFIF file for YCbCr.
  info.write_JFIF_header = colour.coded != JCS_RGB;
  info.density_unit = 1;
  info.X_density = settings.x_density;
  info.Y_density = settings.y_density;
  if (settings.progressive) jpeg_simple_progression(&info);
}

void WriteMetadata(Compression& c, const JpegSettings& settings) {
  for (const JpegMarker& marker : settings.markers) {
    jpeg_write_marker(&c.info, marker.code, reinterpret_cast<const JOCTET*>(marker.data.data()),
                      static_cast<unsigned>(marker.data.size()));
  }
  if (!settings.icc_profile.empty()) {
    jpeg_write_icc_profile(&c.info, reinterpret_cast<const JOCTET*>(settings.icc_profile.data()),
                           static_cast<unsigned>(settings.icc_profile.size()));
  }
}

void WriteRows(Compression& c, const ProgressFn& progress) {
  jpeg_compress_struct& info = c.info;
  const std::size_t stride = std::size_t{info.image_width} * info.input_components;
  JSAMPROW pointers[kBandRows];
  for (std::uint32_t i = 0; i < kBandRows; ++i) pointers[i] = c.band.data() + i * stride;
  std::uint64_t pixels_since_progress = 0;
  while (info.next_scanline < info.image_height) {
    const std::uint32_t rows = std::min(kBandRows, info.image_height - info.next_scanline);
    if (!c.rows->Read(c.band.data(), rows)) {
      c.source_failed = true;
      return;
    }
    jpeg_write_scanlines(&info, pointers, rows);
    pixels_since_progress += std::uint64_t{info.image_width} * rows;
    if (progress && pixels_since_progress >= kProgressPixels) {
      pixels_since_progress = 0;
      progress();
    }
  }
  jpeg_finish_compress(&info);
}

// The libjpeg part; false on a libjpeg error or a failing decoder.
bool Compress(Compression& c, const ImageHeader& header, const JpegSettings& settings,
              const ColourSetup& colour, const ProgressFn& progress) {
  return RunGuarded(c.errors, [&] {
    jpeg_create_compress(&c.info);
    c.destination.Attach(&c.info);
    Configure(c, header, settings, colour);
    jpeg_start_compress(&c.info, TRUE);
    WriteMetadata(c, settings);
    WriteRows(c, progress);
    return !c.source_failed;
  });
}

}  // namespace

std::optional<std::string> EncodeJpeg(ImageDecoder& source, const JpegSettings& settings,
                                      const ProgressFn& progress) {
  const ImageHeader& header = source.header();
  if (header.width == 0 || header.height == 0 || header.width > kMaxDimension ||
      header.height > kMaxDimension) {
    return std::nullopt;
  }
  const ColourSetup colour = SetupFor(settings.colour_model);
  auto c = std::make_unique<Compression>();
  c->band.resize(std::size_t{header.width} * ChannelCount(colour.pixels) * kBandRows);
  c->rows = std::make_unique<RowSource>(source, colour.pixels);
  InstallLibjpegErrors(reinterpret_cast<j_common_ptr>(&c->info), &c->errors, false);
  if (!Compress(*c, header, settings, colour, progress)) return std::nullopt;
  return c->destination.TakeBytes();
}

}  // namespace shifrodel
