#include "imaging/image_layer.h"

#include <algorithm>

#include "text/path_rules.h"

namespace shifrodel {

void ImageLayer::LoadImageFile(const std::string& path) {
  loaded_ = converter_->Convert(path, quality_, progress_);
  io_failed_ = !loaded_.has_value();
}

void ImageLayer::SaveJpegFile(const std::string& path) {
  io_failed_ = !loaded_.has_value() || !fs_.WriteFileAtomically(path, *loaded_);
}

void ImageLayer::SetJpegQuality(int quality) { quality_ = std::clamp(quality, 1, 100); }

}  // namespace shifrodel
