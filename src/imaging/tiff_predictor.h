// Turns rows of decoded samples (in the host's byte order, as libtiff hands
// them out) into the bytes that a TIFF strip or tile stores before its
// compression: horizontal differencing (predictor 2), the floating-point
// predictor (3), or none, and the file's own byte order.
#ifndef SHIFRODEL_IMAGING_TIFF_PREDICTOR_H_
#define SHIFRODEL_IMAGING_TIFF_PREDICTOR_H_

#include <cstddef>
#include <cstdint>
#include <memory>

namespace shifrodel {

enum class TiffPredictor : std::uint16_t { kNone = 1, kHorizontal = 2, kFloatingPoint = 3 };

struct TiffSampleLayout {
  TiffPredictor predictor = TiffPredictor::kNone;
  // Bits of one sample.
  int bits_per_sample = 8;
  // Samples between a sample and the one it is predicted from: the samples
  // per pixel when they are interleaved, 1 for separate planes.
  int stride = 1;
  // The file's byte order differs from the host's.
  bool swap_bytes = false;
};

// The predictor that makes LZW pay for samples of this kind: horizontal
// differencing for 8- and 16-bit integers of continuous tone, the
// floating-point predictor for floats, none for the rest (bilevel, palette,
// odd widths).
TiffPredictor ChoosePredictor(int bits_per_sample, int sample_format, bool palette);

class TiffSamplePreparer {
 public:
  explicit TiffSamplePreparer(const TiffSampleLayout& layout) : layout_(layout) {}

  // Rewrites `row_count` rows of `row_bytes` bytes in place.
  void Prepare(std::uint8_t* rows, std::size_t row_bytes, std::size_t row_count);

 private:
  void FloatingPointRow(std::uint8_t* row, std::size_t row_bytes);

  TiffSampleLayout layout_;
  std::unique_ptr<std::uint8_t[]> scratch_;
  std::size_t scratch_size_ = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_PREDICTOR_H_
