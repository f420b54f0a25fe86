#include "imaging/tiff_scanline_decoder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "imaging/pixel_rows.h"

namespace shifrodel {
namespace {

enum class Model { kBilevel, kGrey, kPalette, kRgb, kCmyk };

enum class Alpha { kNone, kAssociated, kUnassociated };

struct Layout {
  Model model = Model::kRgb;
  int bits = 8;
  int samples = 3;  // samples per pixel, extra samples included
  int colours = 3;  // the colour samples among them
  Alpha alpha = Alpha::kNone;
  bool min_is_white = false;
};

bool BitsAllowed(Model model, int bits) {
  switch (model) {
    case Model::kBilevel:
      return bits == 1;
    case Model::kGrey:
      return bits == 2 || bits == 4 || bits == 8 || bits == 16;
    case Model::kPalette:
      return bits == 1 || bits == 2 || bits == 4 || bits == 8;
    case Model::kRgb:
    case Model::kCmyk:
      return bits == 8 || bits == 16;
  }
  return false;
}

// The layout of the current image, or nullopt when this road does not take it.
std::optional<Layout> ReadLayout(TIFF* tiff) {
  if (TIFFIsTiled(tiff)) return std::nullopt;
  std::uint16_t planar = PLANARCONFIG_CONTIG, bits = 1, samples = 1, format = SAMPLEFORMAT_UINT;
  std::uint16_t photometric = 0, compression = COMPRESSION_NONE, inks = INKSET_CMYK;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric)) return std::nullopt;
  if (format != SAMPLEFORMAT_UINT || (planar != PLANARCONFIG_CONTIG && samples > 1)) {
    return std::nullopt;
  }
  Layout layout;
  layout.bits = bits;
  layout.samples = samples;
  switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
      layout.model = bits == 1 ? Model::kBilevel : Model::kGrey;
      layout.colours = 1;
      layout.min_is_white = photometric == PHOTOMETRIC_MINISWHITE;
      break;
    case PHOTOMETRIC_PALETTE:
      layout.model = Model::kPalette;
      layout.colours = 1;
      break;
    case PHOTOMETRIC_YCBCR:
      // Only JPEG-compressed YCbCr comes as RGB scanlines: libjpeg converts.
      if (compression != COMPRESSION_JPEG) return std::nullopt;
      if (!TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB)) return std::nullopt;
      layout.model = Model::kRgb;
      break;
    case PHOTOMETRIC_RGB:
      layout.model = Model::kRgb;
      break;
    case PHOTOMETRIC_SEPARATED:
      TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
      if (inks != INKSET_CMYK) return std::nullopt;
      layout.model = Model::kCmyk;
      layout.colours = 4;
      break;
    default:
      return std::nullopt;
  }
  if (!BitsAllowed(layout.model, bits) || samples < layout.colours) return std::nullopt;
  std::uint16_t extra_count = 0;
  std::uint16_t* extra = nullptr;
  if (samples > layout.colours && TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extra_count, &extra) &&
      extra_count > 0) {
    if (extra[0] == EXTRASAMPLE_ASSOCALPHA) layout.alpha = Alpha::kAssociated;
    if (extra[0] == EXTRASAMPLE_UNASSALPHA) layout.alpha = Alpha::kUnassociated;
  }
  // A bi-level image with more than one sample, or an image of fewer than
  // 8 bits with an alpha channel, goes the general road.
  if ((layout.model == Model::kBilevel && samples != 1) ||
      (layout.alpha != Alpha::kNone && bits < 8)) {
    return std::nullopt;
  }
  return layout;
}

class ScanlineDecoder final : public ImageDecoder {
 public:
  ScanlineDecoder(std::unique_ptr<TiffFile> file, const ImageHeader& header, const Layout& layout)
      : file_(std::move(file)),
        header_(header),
        layout_(layout),
        bits_to_rgb_(layout.min_is_white ? 255 : 0, layout.min_is_white ? 0 : 255) {
    header_.format = PixelFormat::kRgb8;
    raw_.resize(static_cast<std::size_t>(TIFFScanlineSize64(file_->tiff())));
    if (NeedsSamples()) samples_.resize(std::size_t{header_.width} * layout_.samples);
    if (layout_.model == Model::kPalette) LoadPalette();
  }

  const ImageHeader& header() const override { return header_; }

  bool ReadRows(std::uint8_t* out, std::uint32_t count) override {
    const std::size_t stride = std::size_t{header_.width} * 3;
    for (std::uint32_t i = 0; i < count; ++i, ++row_) {
      if (row_ >= header_.height) return false;
      std::uint8_t* rgb = out + i * stride;
      // Plain 8-bit RGB is read straight into the output row.
      const bool direct = IsPlainRgb8();
      if (TIFFReadScanline(file_->tiff(), direct ? rgb : raw_.data(), row_, 0) < 0 ||
          file_->failed()) {
        return false;
      }
      if (!direct) ConvertRow(rgb);
    }
    return true;
  }

 private:
  bool IsPlainRgb8() const {
    return layout_.model == Model::kRgb && layout_.bits == 8 && layout_.samples == 3;
  }
  // Whether rows pass through 8-bit samples before the colour conversion.
  bool IsPlainRgb16() const {
    return layout_.model == Model::kRgb && layout_.bits == 16 && layout_.samples == 3;
  }
  bool NeedsSamples() const {
    return layout_.model != Model::kBilevel && !IsPlainRgb16() &&
           !(layout_.bits == 8 && layout_.alpha == Alpha::kNone &&
             layout_.model != Model::kPalette);
  }

  void LoadPalette() {
    std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    palette_.fill({0, 0, 0});
    if (!TIFFGetField(file_->tiff(), TIFFTAG_COLORMAP, &red, &green, &blue)) return;
    const int entries = 1 << layout_.bits;
    // Some writers store 8-bit values in the 16-bit map: taken as they are.
    bool eight_bit = true;
    for (int i = 0; i < entries; ++i) {
      if (red[i] > 255 || green[i] > 255 || blue[i] > 255) eight_bit = false;
    }
    const auto to8 = [eight_bit](std::uint16_t v) {
      return eight_bit ? static_cast<std::uint8_t>(v) : SixteenToEight(v);
    };
    for (int i = 0; i < entries; ++i) palette_[i] = {to8(red[i]), to8(green[i]), to8(blue[i])};
  }

  // The raw scanline as 8-bit samples (palette indices stay indices).
  void UnpackSamples() {
    const std::size_t count = std::size_t{header_.width} * layout_.samples;
    if (layout_.bits == 16) {
      SixteenToEightRow(reinterpret_cast<const std::uint16_t*>(raw_.data()), samples_.data(),
                        count);
      return;
    }
    if (layout_.bits == 8) {
      std::copy_n(raw_.data(), count, samples_.data());
      return;
    }
    const int bits = layout_.bits;
    const unsigned mask = (1u << bits) - 1;
    const bool scale = layout_.model != Model::kPalette;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t bit = i * bits;
      const unsigned v = (raw_[bit / 8] >> (8 - bits - bit % 8)) & mask;
      samples_[i] = static_cast<std::uint8_t>(scale ? v * 255 / mask : v);
    }
  }

  void ConvertRow(std::uint8_t* rgb) {
    const std::size_t width = header_.width;
    if (layout_.model == Model::kBilevel) {
      bits_to_rgb_.Row(raw_.data(), rgb, width);
      return;
    }
    if (IsPlainRgb16()) {
      // Rounded straight into the output row.
      SixteenToEightRow(reinterpret_cast<const std::uint16_t*>(raw_.data()), rgb, width * 3);
      return;
    }
    const std::uint8_t* s = raw_.data();
    if (NeedsSamples()) {
      UnpackSamples();
      s = samples_.data();
    }
    const int step = layout_.samples;
    switch (layout_.model) {
      case Model::kGrey:
        if (step == 1 && !layout_.min_is_white) {
          GreyToRgbRow(s, rgb, width);
          break;
        }
        for (std::size_t x = 0; x < width; ++x, s += step, rgb += 3) {
          const std::uint8_t g = layout_.min_is_white ? 255 - s[0] : s[0];
          rgb[0] = rgb[1] = rgb[2] = OverWhite(g, s);
        }
        break;
      case Model::kPalette:
        for (std::size_t x = 0; x < width; ++x, s += step, rgb += 3) {
          const auto& colour = palette_[s[0]];
          rgb[0] = OverWhite(colour[0], s);
          rgb[1] = OverWhite(colour[1], s);
          rgb[2] = OverWhite(colour[2], s);
        }
        break;
      case Model::kRgb:
        for (std::size_t x = 0; x < width; ++x, s += step, rgb += 3) {
          rgb[0] = OverWhite(s[0], s);
          rgb[1] = OverWhite(s[1], s);
          rgb[2] = OverWhite(s[2], s);
        }
        break;
      case Model::kCmyk:
        for (std::size_t x = 0; x < width; ++x, s += step, rgb += 3) {
          const unsigned paper = 255u - s[3];
          rgb[0] = OverWhite(MulDiv255(255u - s[0], paper), s);
          rgb[1] = OverWhite(MulDiv255(255u - s[1], paper), s);
          rgb[2] = OverWhite(MulDiv255(255u - s[2], paper), s);
        }
        break;
      case Model::kBilevel:
        break;
    }
  }

  // A colour value of the pixel whose samples start at `s`, laid over white.
  std::uint8_t OverWhite(std::uint8_t value, const std::uint8_t* s) const {
    if (layout_.alpha == Alpha::kNone) return value;
    const unsigned alpha = s[layout_.colours];
    if (layout_.alpha == Alpha::kAssociated) {
      return static_cast<std::uint8_t>(std::min(255u, value + 255u - alpha));
    }
    return static_cast<std::uint8_t>(MulDiv255(value, alpha) + 255u - alpha);
  }

  std::unique_ptr<TiffFile> file_;
  ImageHeader header_;
  Layout layout_;
  std::vector<std::uint8_t> raw_;
  std::vector<std::uint8_t> samples_;
  BitsToRgb bits_to_rgb_;
  std::array<std::array<std::uint8_t, 3>, 256> palette_{};
  std::uint32_t row_ = 0;
};

}  // namespace

std::unique_ptr<ImageDecoder> OpenTiffScanlineDecoder(std::unique_ptr<TiffFile>& file,
                                                      const ImageHeader& header) {
  const std::optional<Layout> layout = ReadLayout(file->tiff());
  if (!layout) return nullptr;
  // The scanline must hold the pixels that the layout promises.
  const std::uint64_t bits_needed = std::uint64_t{header.width} * layout->samples * layout->bits;
  const std::int64_t scanline = TIFFScanlineSize64(file->tiff());
  if (scanline <= 0 || static_cast<std::uint64_t>(scanline) * 8 < bits_needed) return nullptr;
  return std::make_unique<ScanlineDecoder>(std::move(file), header, *layout);
}

}  // namespace shifrodel
