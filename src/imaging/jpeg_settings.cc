#include "imaging/jpeg_settings.h"

#include <cmath>

namespace shifrodel {

JfifDensity DensityForResolution(double x_dpi, double y_dpi) {
  // NaN fails both comparisons, so it too counts as no resolution.
  if (!(x_dpi >= 2 && y_dpi >= 2)) return {};
  const auto to_density = [](double dpi) {
    return static_cast<std::uint16_t>(std::lround(std::fmin(dpi, 65535.0)));
  };
  return {to_density(x_dpi), to_density(y_dpi)};
}

}  // namespace shifrodel
