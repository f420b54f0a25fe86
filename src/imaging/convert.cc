#include "imaging/convert.h"

#include <memory>

#include "imaging/bmp_decoder.h"
#include "imaging/jpeg_decoder.h"
#include "imaging/jpeg_encoder.h"
#include "imaging/psd_decoder.h"
#include "imaging/tiff_decoder.h"

namespace shifrodel {
namespace {

// An ICC profile describes the colour space named at offset 16 of its
// header; it goes into the output only when that is the output's.
bool IsRgbProfile(const std::string& profile) {
  return profile.size() >= 128 && profile.compare(16, 4, "RGB ") == 0;
}

std::optional<std::string> ConvertJpeg(File& source, int quality, const ProgressFn& progress) {
  std::unique_ptr<JpegDecoder> decoder = OpenJpegDecoder(source);
  if (!decoder) return std::nullopt;
  JpegSettings settings;
  settings.quality = quality;
  settings.colour_model = decoder->colour_model();
  settings.progressive = decoder->progressive();
  settings.markers = decoder->markers();
  const JfifDensity density =
      DensityForResolution(decoder->header().x_dpi, decoder->header().y_dpi);
  settings.x_density = density.x;
  settings.y_density = density.y;
  return EncodeJpeg(*decoder, settings, progress);
}

// Any other source is written as sequential YCbCr from RGB pixels.
std::optional<std::string> ConvertPixels(std::unique_ptr<ImageDecoder> decoder, int quality,
                                         const ProgressFn& progress) {
  if (!decoder) return std::nullopt;
  const ImageHeader& header = decoder->header();
  JpegSettings settings;
  settings.quality = quality;
  const JfifDensity density = DensityForResolution(header.x_dpi, header.y_dpi);
  settings.x_density = density.x;
  settings.y_density = density.y;
  if (IsRgbProfile(header.icc_profile)) settings.icc_profile = header.icc_profile;
  return EncodeJpeg(*decoder, settings, progress);
}

}  // namespace

std::optional<std::string> ConvertToJpeg(File& source, SourceFormat format, int quality,
                                         const ProgressFn& progress) {
  switch (format) {
    case SourceFormat::kJpeg:
      return ConvertJpeg(source, quality, progress);
    case SourceFormat::kTiff:
      return ConvertPixels(OpenTiffDecoder(source), quality, progress);
    case SourceFormat::kBmp:
      return ConvertPixels(OpenBmpDecoder(source), quality, progress);
    case SourceFormat::kPsd:
      return ConvertPixels(OpenPsdDecoder(source), quality, progress);
  }
  return std::nullopt;
}

}  // namespace shifrodel
