#include "imaging/image_layer.h"

#include <algorithm>
#include <utility>

#include "text/path_rules.h"

namespace shifrodel {

void ImageLayer::LoadImageFile(const std::string& path) {
  Conversion conversion = converter_->Convert(path, quality_, progress_);
  load_failure_ = conversion.failure;
  io_failed_ = !conversion.ok();
  loaded_.reset();
  if (conversion.ok()) loaded_ = std::move(conversion.jpeg);
}

void ImageLayer::SaveJpegFile(const std::string& path) {
  io_failed_ = !loaded_.has_value() || !fs_.WriteFileAtomically(path, *loaded_);
}

void ImageLayer::SetJpegQuality(int quality) { quality_ = std::clamp(quality, 1, 100); }

}  // namespace shifrodel
