// Conversion ahead of the file step with the real decoders and encoder: the
// same bytes with one and with several workers, and under ThreadSanitizer
// libtiff and libjpeg on several threads at once.
#include <gtest/gtest.h>

#include "imaging/file_jpeg_converter.h"
#include "imaging/image_fixtures.h"
#include "run/lookahead_fixture.h"

namespace shifrodel::testing {
namespace {

std::string Fund(int i) { return "ф " + std::to_string(i) + " оп 1 д 1 л 1.tif"; }

const Scenario kRealImages = {
    "real_images", [](LookaheadRun& r) {
      static FileJpegConverter real(NativeFileSystem());
      r.UseConverter(real);
      for (int i = 1; i <= 9; ++i) {
        TiffSpec spec;
        spec.width = 64 + 8 * i;
        spec.height = 48;
        spec.photometric = i % 3 == 0 ? 1 : 2;  // grey or RGB
        spec.samples = i % 3 == 0 ? 1 : 3;
        spec.bits = i % 2 ? 8 : 16;
        spec.x_resolution = spec.y_resolution = 100.0f * i;
        spec.sample = [i, &spec](std::uint32_t x, std::uint32_t y, int s) {
          return static_cast<std::uint32_t>((x * 7 + y * 3 + s * 50 + i) % (1u << spec.bits));
        };
        r.Source(("п" + std::to_string(i % 2) + "\\" + Fund(i)).c_str(), MakeTiff(spec));
      }
      JpegSpec jpeg;
      jpeg.progressive = true;
      jpeg.sample = [](std::uint32_t x, std::uint32_t y, int c) {
        return static_cast<std::uint8_t>(x * 9 + y * 5 + c * 70);
      };
      r.Source("ф 20.jpg", MakeJpeg(jpeg));
      r.Source("п1\\ф 21.tif", "not a TIFF at all");
      r.window_.Answer({TAnswer::kNo});
    }};

TEST(LookaheadRealImages, SameBytesWithOneAndWithSeveralWorkers) {
  ExpectSameResultsOnEveryCore(kRealImages);
}

}  // namespace
}  // namespace shifrodel::testing
