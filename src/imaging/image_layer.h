// The image layer as the copy run sees it: load a file, save it as a JPEG
// file, with a quality, and a failure flag after each call. The load does all
// the work (decode and encode into memory); the save only writes those bytes,
// so a retried save costs nothing.
#ifndef SHIFRODEL_IMAGING_IMAGE_LAYER_H_
#define SHIFRODEL_IMAGING_IMAGE_LAYER_H_

#include <optional>
#include <string>

#include "imaging/jpeg_converter.h"
#include "platform/file_system.h"

namespace shifrodel {

class ImageLayer {
 public:
  ImageLayer(FileSystem& fs, JpegConverter& converter) : fs_(fs), converter_(&converter) {}

  // The converter behind the loads; a copy run on several cores puts one in
  // front of it for the run's length.
  JpegConverter& converter() const { return *converter_; }
  void set_converter(JpegConverter& converter) { converter_ = &converter; }

  // Reads and encodes a file; IoFailed() tells whether that failed.
  void LoadImageFile(const std::string& path);
  // Writes the loaded image as a JPEG file, creating or replacing it. The
  // bytes go to a temporary file beside it that takes its name only when
  // complete. IoFailed() tells whether that failed (nothing loaded, the file
  // cannot be created, a short write as on a full disk).
  void SaveJpegFile(const std::string& path);

  // 1 to 100; 80 until set.
  int JpegQuality() const { return quality_; }
  void SetJpegQuality(int quality);

  bool IoFailed() const { return io_failed_; }
  // Why the last load failed (kNone after a load that worked).
  ConversionFailure LoadFailure() const { return load_failure_; }

  // Called during long conversions, so that a window can repaint.
  void SetProgress(ProgressFn progress) { progress_ = std::move(progress); }

 private:
  FileSystem& fs_;
  JpegConverter* converter_;
  int quality_ = 80;
  bool io_failed_ = false;
  ConversionFailure load_failure_ = ConversionFailure::kNone;
  std::optional<std::string> loaded_;
  ProgressFn progress_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_IMAGE_LAYER_H_
