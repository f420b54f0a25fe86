#include "run/quality_text.h"

#include <algorithm>
#include <string>

#include "text/int_text.h"
#include "text/trim.h"

namespace shifrodel {

int ParseQuality(std::string_view text) {
  std::string rest(Trim(text));
  if (const std::size_t percent = rest.find('%'); percent != std::string::npos) {
    rest.erase(percent, 1);
  }
  return std::clamp(IntTextOr(Trim(rest), 75), kMinQuality, kMaxQuality);
}

}  // namespace shifrodel
