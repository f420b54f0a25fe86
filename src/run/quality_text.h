// The JPEG quality a copy run uses, read from the quality field's text
// ("75%", " 80 % "): one per-cent sign removed, 75 when the rest is not a
// number, clamped to 30-100.
#ifndef SHIFRODEL_RUN_QUALITY_TEXT_H_
#define SHIFRODEL_RUN_QUALITY_TEXT_H_

#include <string_view>

namespace shifrodel {

// The range of the JPEG quality the window offers and a run uses.
inline constexpr int kMinQuality = 30;
inline constexpr int kMaxQuality = 100;

int ParseQuality(std::string_view text);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_QUALITY_TEXT_H_
