// Runs of the same tree with one and with several workers, recorded whole so
// that they can be compared: every file the run leaves with its bytes, and
// every window call in order.
#ifndef SHIFRODEL_TESTS_RUN_LOOKAHEAD_FIXTURE_H_
#define SHIFRODEL_TESTS_RUN_LOOKAHEAD_FIXTURE_H_

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "run/copy_run_fixture.h"

namespace shifrodel::testing {

// The temporary folder's path is replaced by "<root>", so that runs in
// different folders compare.
struct RunRecord {
  std::map<std::string, std::string> files;
  std::vector<std::string> window;
  int problems = 0;
  bool operator==(const RunRecord&) const = default;
};

class LookaheadRun;

struct Scenario {
  const char* name;
  // Builds the tree and scripts the window and the options.
  std::function<void(LookaheadRun&)> setup;
};

inline void PrintTo(const Scenario& scenario, std::ostream* os) { *os << scenario.name; }

class LookaheadRun : public CopyRunTest {
 public:
  // Converts through `converter` instead of the fake one.
  void UseConverter(JpegConverter& converter) { image_.set_converter(converter); }

  RunRecord RecordRun(const Scenario& scenario, int workers);

  void TestBody() override {}

  using CopyRunTest::dir_;
  using CopyRunTest::fs_;
  using CopyRunTest::options_;
  using CopyRunTest::Source;
  using CopyRunTest::state_;
  using CopyRunTest::window_;
};

// Runs the scenario with one worker, then with two and with four, in fresh
// folders each time, and expects the same record from all. (How much is
// converted ahead depends on how the threads are scheduled; the converter's
// own tests show that it is.)
void ExpectSameResultsOnEveryCore(const Scenario& scenario);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_RUN_LOOKAHEAD_FIXTURE_H_
