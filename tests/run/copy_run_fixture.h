// A copy run on real temporary folders with a scripted window, a file system
// that can fail on demand, a fake clock and a fake converter: the source tree
// under src/, the archive tree under dst/, the miscellaneous tree under misc/
// and fp.log in the temporary folder, which is the working folder meanwhile.
#ifndef SHIFRODEL_TESTS_RUN_COPY_RUN_FIXTURE_H_
#define SHIFRODEL_TESTS_RUN_COPY_RUN_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "imaging/image_layer.h"
#include "run/copy_run.h"
#include "support/fake_clock.h"
#include "support/fake_converter.h"
#include "support/faulty_file_system.h"
#include "support/scripted_window.h"
#include "support/temp_dir.h"
#include "support/test_text.h"
#include "support/working_folder.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel::testing {

class CopyRunTest : public ::testing::Test {
 protected:
  CopyRunTest() {
    fs_.ScriptDiskFree({std::uint64_t{1} << 32});
    options_.SourceFolder = dir_ / "src";
    options_.TargetFolder = dir_ / "dst";
    options_.OtherFolder = dir_ / "misc";
    options_.QualityText = "75%";
  }

  // A source file; `relative` is UTF-8 with "\" between folders.
  std::string Source(const char* relative, std::string_view content = "scan") {
    return dir_.WriteFile("src" + std::string(1, PathDelim()) + NativeSeparators(relative),
                          content);
  }
  // The path of a file in the temporary folder; `relative` as above.
  std::string Path(const char* relative) const { return dir_ / NativeSeparators(relative); }
  std::string Read(const char* relative) const { return dir_.ReadFile(NativeSeparators(relative)); }
  bool Exists(const char* relative) { return fs_.FileExists(Path(relative)); }
  std::string ProblemLog() const { return dir_.ReadFile("fp.log"); }

  TRunOutcome Run() { return RunCopy(job_, image_, options_); }

  TempDir dir_;
  ScopedWorkingFolder cwd_{Cp1251ToUtf8(dir_.path())};
  TRunState state_;
  ScriptedWindow window_;
  FaultyFileSystem fs_;
  FakeClock clock_{100000};
  JobContext job_{state_, window_, fs_, clock_};
  FakeConverter converter_{fs_};
  ImageLayer image_{fs_, converter_};
  TRunOptions options_;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_RUN_COPY_RUN_FIXTURE_H_
