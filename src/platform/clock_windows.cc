// The tick on Windows: the system's milliseconds since start, 32 bits wide.
#include "platform/clock.h"
#include "platform/windows_path.h"

namespace shifrodel {
namespace {

class TickCountClock final : public Clock {
 public:
  std::uint32_t TickCount() override { return ::GetTickCount(); }
};

}  // namespace

Clock& SystemClock() {
  static TickCountClock clock;
  return clock;
}

}  // namespace shifrodel
