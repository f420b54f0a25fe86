// The millisecond tick: a 32-bit counter of milliseconds since some start,
// wrapping after 2^32 ms. Tests hand the jobs a clock they drive themselves.
#ifndef SHIFRODEL_PLATFORM_CLOCK_H_
#define SHIFRODEL_PLATFORM_CLOCK_H_

#include <cstdint>

namespace shifrodel {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t TickCount() = 0;
};

// The system's tick counter.
Clock& SystemClock();

}  // namespace shifrodel

#endif  // SHIFRODEL_PLATFORM_CLOCK_H_
