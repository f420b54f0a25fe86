// A clock for tests: the tick stands still until the test sets or advances
// it, wrapping at 2^32 ms like the system's tick. It can also move on by
// itself after every reading, for code that waits for the clock to move.
//
//   FakeClock clock(0xFFFFFF00);  // 256 ms before the wrap
//   clock.Advance(500);           // now 244: past the wrap
//   clock.AdvanceOnEveryRead(10); // each TickCount() call returns, then adds 10
#ifndef SHIFRODEL_TESTS_SUPPORT_FAKE_CLOCK_H_
#define SHIFRODEL_TESTS_SUPPORT_FAKE_CLOCK_H_

#include <cstdint>

#include "platform/clock.h"

namespace shifrodel::testing {

class FakeClock final : public Clock {
 public:
  explicit FakeClock(std::uint32_t start = 0) : tick_(start) {}

  std::uint32_t TickCount() override {
    ++reads_;
    const std::uint32_t now = tick_;
    tick_ += step_;
    return now;
  }

  void Set(std::uint32_t tick) { tick_ = tick; }
  // Unsigned arithmetic: advancing past 0xFFFFFFFF wraps to 0.
  void Advance(std::uint32_t ms) { tick_ += ms; }
  void AdvanceOnEveryRead(std::uint32_t ms) { step_ = ms; }

  // The tick that the next reading returns, without counting as a reading.
  std::uint32_t now() const { return tick_; }
  int reads() const { return reads_; }

 private:
  std::uint32_t tick_;
  std::uint32_t step_ = 0;
  int reads_ = 0;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_FAKE_CLOCK_H_
