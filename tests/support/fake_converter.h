// A converter for the copy run's tests: instead of decoding images it reads
// the source and returns "jpeg:" + its bytes; a source whose content begins
// with "broken" is a bad image, one it cannot read cannot be opened. Tests
// can then tell what was converted from what, without image files.
#ifndef SHIFRODEL_TESTS_SUPPORT_FAKE_CONVERTER_H_
#define SHIFRODEL_TESTS_SUPPORT_FAKE_CONVERTER_H_

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "imaging/jpeg_converter.h"
#include "platform/file_system.h"

namespace shifrodel::testing {

class FakeConverter : public JpegConverter {
 public:
  explicit FakeConverter(FileSystem& fs) : fs_(fs) {}

  Conversion Convert(const std::string& path, int quality, const ProgressFn& progress) override {
    ++conversions_;
    last_quality_ = quality;
    if (progress) progress();
    if (delay_ms_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms_));
    const std::optional<std::string> content = fs_.ReadWholeFile(path);
    if (!content) return Conversion::Failed(ConversionFailure::kCannotOpen);
    if (content->starts_with("broken")) return Conversion::Failed(ConversionFailure::kBadImage);
    return {ConversionFailure::kNone, "jpeg:" + *content};
  }

  // Makes every conversion take this long, so that conversions on other
  // threads overlap the file step.
  void set_delay_ms(int ms) { delay_ms_ = ms; }

  int conversions() const { return conversions_; }
  int last_quality() const { return last_quality_; }

 private:
  FileSystem& fs_;
  std::atomic<int> conversions_ = 0;
  std::atomic<int> last_quality_ = 0;
  int delay_ms_ = 0;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_FAKE_CONVERTER_H_
