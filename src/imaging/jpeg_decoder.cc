#include "imaging/jpeg_decoder.h"

#include <jerror.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "imaging/libjpeg_errors.h"

namespace shifrodel {
namespace {

constexpr std::size_t kInputBufferSize = 64 * 1024;

// A progressive file keeps every coefficient in memory. Each block costs at
// least one bit of the first DC scan, so a real file needs at most 8 * 128
// bytes of coefficients per byte of file; a header that claims more is
// damaged, and libjpeg fails at the allocation instead of making it.
constexpr long kCoefficientBytesPerFileByte = 1024;
constexpr long kFixedMemory = 16L << 20;
constexpr long kMaxMemory = 1L << 30;

// libjpeg's source manager over a File.
struct FileSource {
  jpeg_source_mgr manager;  // first: libjpeg's pointer is also ours
  File* file;
  JOCTET buffer[kInputBufferSize];
};

void InitSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr info) {
  auto* source = reinterpret_cast<FileSource*>(info->src);
  const std::int64_t got = source->file->Read(source->buffer, kInputBufferSize);
  if (got <= 0) {
    // The data end early: a warning (an error for our strict manager), and
    // an end-of-image marker so that libjpeg itself would stop cleanly.
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    source->manager.bytes_in_buffer = 2;
  } else {
    source->manager.bytes_in_buffer = static_cast<std::size_t>(got);
  }
  source->manager.next_input_byte = source->buffer;
  return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
  jpeg_source_mgr& manager = *info->src;
  while (count > static_cast<long>(manager.bytes_in_buffer)) {
    count -= static_cast<long>(manager.bytes_in_buffer);
    FillInput(info);
  }
  if (count > 0) {
    manager.next_input_byte += count;
    manager.bytes_in_buffer -= static_cast<std::size_t>(count);
  }
}

void TermSource(j_decompress_ptr) {}

bool IsJfifHeader(const jpeg_saved_marker_ptr m) {
  return m->marker == JPEG_APP0 && m->data_length >= 5 && std::memcmp(m->data, "JFIF\0", 5) == 0;
}

bool IsAdobeSegment(const jpeg_saved_marker_ptr m) {
  return m->marker == JPEG_APP0 + 14 && m->data_length >= 5 &&
         std::memcmp(m->data, "Adobe", 5) == 0;
}

std::optional<JpegColourModel> ColourModelOf(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_GRAYSCALE:
      return JpegColourModel::kGrey;
    case JCS_YCbCr:
      return JpegColourModel::kYCbCr;
    case JCS_RGB:
      return JpegColourModel::kRgb;
    case JCS_CMYK:
      return JpegColourModel::kCmyk;
    case JCS_YCCK:
      return JpegColourModel::kYcck;
    default:
      return std::nullopt;
  }
}

class LibjpegDecoder final : public JpegDecoder {
 public:
  explicit LibjpegDecoder(File& file) {
    source_.file = &file;
    source_.manager.init_source = InitSource;
    source_.manager.fill_input_buffer = FillInput;
    source_.manager.skip_input_data = SkipInput;
    source_.manager.resync_to_restart = jpeg_resync_to_restart;
    source_.manager.term_source = TermSource;
    source_.manager.bytes_in_buffer = 0;
    source_.manager.next_input_byte = nullptr;
    InstallLibjpegErrors(reinterpret_cast<j_common_ptr>(&info_), &errors_, true);
  }
  // Safe whether or not the object was created, or only partly.
  ~LibjpegDecoder() override { jpeg_destroy_decompress(&info_); }

  // Creates the object, reads the header and starts decompression; false
  // when any of that fails.
  bool Start(std::int64_t file_size) {
    return RunGuarded(errors_, [this, file_size] { return StartGuarded(file_size); });
  }

  const ImageHeader& header() const override { return header_; }
  JpegColourModel colour_model() const override { return colour_model_; }
  bool progressive() const override { return progressive_; }
  const std::vector<JpegMarker>& markers() const override { return markers_; }

  bool ReadRows(std::uint8_t* out, std::uint32_t count) override {
    if (failed_ || count > info_.output_height - info_.output_scanline) return false;
    if (!RunGuarded(errors_, [this, out, count] { return ReadGuarded(out, count); })) {
      failed_ = true;
    }
    return !failed_;
  }

 private:
  bool StartGuarded(std::int64_t file_size) {
    jpeg_create_decompress(&info_);
    info_.src = &source_.manager;
    jpeg_save_markers(&info_, JPEG_COM, 0xFFFF);
    for (int i = 0; i < 16; ++i) jpeg_save_markers(&info_, JPEG_APP0 + i, 0xFFFF);
    if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) return false;
    const auto model = ColourModelOf(info_.jpeg_color_space);
    if (!model) return false;
    colour_model_ = *model;
    progressive_ = info_.progressive_mode;
    switch (colour_model_) {
      case JpegColourModel::kGrey:
        info_.out_color_space = JCS_GRAYSCALE;
        header_.format = PixelFormat::kGrey8;
        break;
      case JpegColourModel::kCmyk:
      case JpegColourModel::kYcck:
        info_.out_color_space = JCS_CMYK;
        header_.format = PixelFormat::kCmyk8;
        break;
      default:
        info_.out_color_space = JCS_RGB;
        header_.format = PixelFormat::kRgb8;
        break;
    }
    info_.dct_method = JDCT_ISLOW;
    info_.mem->max_memory_to_use = std::min(
        kMaxMemory,
        kFixedMemory + kCoefficientBytesPerFileByte *
                           static_cast<long>(std::min<std::int64_t>(file_size, kMaxMemory)));
    if (info_.saw_JFIF_marker && info_.density_unit == 1) {
      header_.x_dpi = info_.X_density;
      header_.y_dpi = info_.Y_density;
    } else if (info_.saw_JFIF_marker && info_.density_unit == 2) {
      header_.x_dpi = info_.X_density * 2.54;
      header_.y_dpi = info_.Y_density * 2.54;
    }
    for (jpeg_saved_marker_ptr m = info_.marker_list; m != nullptr; m = m->next) {
      if (IsJfifHeader(m) || IsAdobeSegment(m)) continue;
      markers_.push_back(
          {m->marker, std::string(reinterpret_cast<const char*>(m->data), m->data_length)});
    }
    jpeg_start_decompress(&info_);
    header_.width = info_.output_width;
    header_.height = info_.output_height;
    return true;
  }

  bool ReadGuarded(std::uint8_t* out, std::uint32_t count) {
    const std::size_t stride = std::size_t{info_.output_width} * info_.output_components;
    for (std::uint32_t i = 0; i < count;) {
      JSAMPROW row = out + i * stride;
      i += jpeg_read_scanlines(&info_, &row, 1);
    }
    // The last rows read: a damaged end of the data must show now.
    if (info_.output_scanline == info_.output_height) jpeg_finish_decompress(&info_);
    return true;
  }

  jpeg_decompress_struct info_{};
  LibjpegErrors errors_;
  FileSource source_;
  ImageHeader header_;
  JpegColourModel colour_model_ = JpegColourModel::kYCbCr;
  bool progressive_ = false;
  bool failed_ = false;
  std::vector<JpegMarker> markers_;
};

}  // namespace

std::unique_ptr<JpegDecoder> OpenJpegDecoder(File& file) {
  const std::int64_t size = file.Size();
  if (size <= 0) return nullptr;
  auto decoder = std::make_unique<LibjpegDecoder>(file);
  if (!decoder->Start(size)) return nullptr;
  return decoder;
}

}  // namespace shifrodel
