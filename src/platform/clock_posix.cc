// The tick on POSIX systems: milliseconds of the monotonic clock, cut to 32 bits.
#include <time.h>

#include "platform/clock.h"

namespace shifrodel {
namespace {

class MonotonicClock final : public Clock {
 public:
  std::uint32_t TickCount() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
  }
};

}  // namespace

Clock& SystemClock() {
  static MonotonicClock clock;
  return clock;
}

}  // namespace shifrodel
