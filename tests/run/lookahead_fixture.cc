#include "run/lookahead_fixture.h"

#include <filesystem>

namespace shifrodel::testing {
namespace {

std::string Relative(std::string text, const std::string& root) {
  for (std::size_t at; (at = text.find(root)) != std::string::npos;) {
    text.replace(at, root.size(), "<root>");
  }
  return text;
}

}  // namespace

RunRecord LookaheadRun::RecordRun(const Scenario& scenario, int workers) {
  converter_.set_delay_ms(2);
  scenario.setup(*this);
  RunCopy(job_, image_, options_, workers);
  RunRecord record;
  const std::filesystem::path root = Cp1251ToUtf8(dir_.path());
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::string path;
    Utf8ToCp1251(e.path().lexically_relative(root).string(), &path);
    record.files[path] = Relative(fs_.ReadWholeFile(dir_ / path).value_or("?"), dir_.path());
  }
  for (const std::string& line : window_.log())
    record.window.push_back(Relative(line, dir_.path()));
  record.problems = state_.ProblemCount;
  return record;
}

void ExpectSameResultsOnEveryCore(const Scenario& scenario) {
  RunRecord one;
  {
    LookaheadRun run;
    one = run.RecordRun(scenario, 1);
  }
  EXPECT_FALSE(one.files.empty());
  for (int workers : {2, 4}) {
    LookaheadRun run;
    EXPECT_EQ(run.RecordRun(scenario, workers), one) << workers << " workers";
  }
}

}  // namespace shifrodel::testing
