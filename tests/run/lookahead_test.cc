// Conversion ahead of the file step: a run with several workers asks the
// same questions in the same order and leaves the same bytes on disk as a
// run with one, whatever the answers, stops and option changes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "run/lookahead_converter.h"
#include "run/lookahead_fixture.h"

namespace shifrodel::testing {
namespace {

std::string Fund(int i) { return "ф " + std::to_string(i) + " оп 1 д 1 л 1.tif"; }

void ManyFiles(LookaheadRun& r, int count) {
  for (int i = 1; i <= count; ++i) {
    const std::string folder = "п" + std::to_string(i % 3) + "\\" + std::to_string(i % 2) + "\\";
    r.Source((folder + Fund(i)).c_str(), "scan " + std::to_string(i));
  }
  r.Source("п1\\титул.tif", "title");
  r.Source("п2\\readme.txt", "not an image");
  r.Source("Ф.5.Оп.1.Д.1.Л.1.jpg", "same place as ф 5");  // two sources, one destination
}

const Scenario kScenarios[] = {
    {"plain", [](LookaheadRun& r) { ManyFiles(r, 24); }},
    {"unreadable_files_answered_no_yes_no",
     [](LookaheadRun& r) {
       ManyFiles(r, 12);
       for (int i : {3, 7, 11}) {
         r.Source(
             ("п" + std::to_string(i % 3) + "\\" + std::to_string(i % 2) + "\\" + Fund(i)).c_str(),
             "broken " + std::to_string(i));
       }
       r.window_.Answer({TAnswer::kNo, TAnswer::kYes, TAnswer::kNo});
     }},
    {"cancel_at_the_second_unreadable_file",
     [](LookaheadRun& r) {
       ManyFiles(r, 16);
       for (int i : {2, 9, 14}) {
         r.Source(
             ("п" + std::to_string(i % 3) + "\\" + std::to_string(i % 2) + "\\" + Fund(i)).c_str(),
             "broken");
       }
       r.window_.Answer({TAnswer::kNo, TAnswer::kCancel});
     }},
    {"stop_pressed_at_several_points",
     [](LookaheadRun& r) {
       ManyFiles(r, 20);
       r.window_.OnPump([&r] {
         if (r.window_.pump_count() == 9) r.state_.StopRequested = true;
       });
     }},
    {"ask_about_existing_files",
     [](LookaheadRun& r) {
       ManyFiles(r, 10);
       for (int i : {2, 3, 4, 8}) {
         const std::string n = std::to_string(i);
         r.dir_.WriteFile(
             NativeSeparators(
                 ("dst\\Ф.    " + n + "\\Оп.   1\\Д.     1\\Ф." + n + ".Оп.1.Д.1.Л.1.jpg").c_str()),
             "old");
       }
       r.options_.ExistingFiles = FixedField(TExistingFilePolicy::efAsk);
       r.window_.Answer({TAnswer::kOk, TAnswer::kCancel, TAnswer::kOk});
     }},
    {"options_changed_between_files",
     [](LookaheadRun& r) {
       ManyFiles(r, 18);
       r.Source("п0\\ф 40.jpg", "jpeg source");
       r.Source("п1\\ф 41.jpg", "jpeg source");
       // Changed at every pump: each file sees the options set before it.
       r.options_.ExistingFiles = [&r] {
         const TExistingFilePolicy policies[] = {TExistingFilePolicy::efRename,
                                                 TExistingFilePolicy::efLeave,
                                                 TExistingFilePolicy::efRewrite};
         return policies[r.window_.pump_count() % 3];
       };
       r.options_.JpegHandling = [&r] {
         return r.window_.pump_count() % 2 ? TJpegHandling::jhCopy : TJpegHandling::jhConvert;
       };
       r.options_.CopyOther = [&r] { return r.window_.pump_count() % 4 != 1; };
     }},
    {"failed_save_retried",
     [](LookaheadRun& r) {
       ManyFiles(r, 8);
       r.fs_
           .Fail(FsOp::kWriteFileAtomically,
                 r.dir_ / NativeSeparators("dst\\Ф.    4\\Оп.   1\\Д.     1\\Ф.4.Оп.1.Д.1.Л.1.jpg"))
           .Times(2);
       r.window_.Answer({TAnswer::kYes, TAnswer::kNo});
     }},
};

class LookaheadTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(LookaheadTest, SameResultsWithOneAndWithSeveralWorkers) {
  ExpectSameResultsOnEveryCore(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Trees, LookaheadTest, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LookaheadConverter, HoldsAtMostWorkersPlusOneFiles) {
  TempDir dir;
  FakeConverter base(NativeFileSystem());
  base.set_delay_ms(20);
  LookaheadConverter ahead(base, 2);
  int taken = 0;
  for (int i = 0; i < 10 && ahead.CanTakeMore(); ++i) {
    ahead.Prefetch(dir.WriteFile(std::to_string(i), "x"), 75);
    ++taken;
  }
  EXPECT_EQ(taken, 3);
  EXPECT_EQ(ahead.Convert(dir / "0", 75, nullptr).jpeg, "jpeg:x");
  EXPECT_TRUE(ahead.CanTakeMore());
}

TEST(LookaheadConverter, WaitingKeepsTheWindowResponsive) {
  TempDir dir;
  FakeConverter base(NativeFileSystem());
  base.set_delay_ms(300);
  LookaheadConverter ahead(base, 1);
  const std::string path = dir.WriteFile("a", "x");
  ahead.Prefetch(path, 75);
  while (base.conversions() == 0) std::this_thread::yield();  // the worker has it
  int progress_calls = 0;
  EXPECT_EQ(ahead.Convert(path, 75, [&] { ++progress_calls; }).jpeg, "jpeg:x");
  EXPECT_GE(progress_calls, 3);  // at least every 100 ms of the 300 ms wait
  EXPECT_EQ(base.conversions(), 1);
}

TEST(LookaheadConverter, DiscardedAndUnknownFilesAreConvertedOnTheCallersThread) {
  TempDir dir;
  FakeConverter base(NativeFileSystem());
  LookaheadConverter ahead(base, 2);
  const std::string a = dir.WriteFile("a", "x");
  ahead.Prefetch(a, 75);
  ahead.Discard(a);
  EXPECT_FALSE(ahead.Holds(a));
  EXPECT_EQ(ahead.Convert(a, 75, nullptr).jpeg, "jpeg:x");
  EXPECT_EQ(ahead.Convert(dir.WriteFile("b", "broken"), 75, nullptr).failure,
            ConversionFailure::kBadImage);
}

// A converter whose first conversion runs out of memory, as one among
// several large ones on the workers may, and whose later ones pass.
class FirstRunsOutOfMemory : public JpegConverter {
 public:
  Conversion Convert(const std::string&, int, const ProgressFn&) override {
    if (calls_++ == 0) return Conversion::Failed(ConversionFailure::kOutOfMemory);
    return {ConversionFailure::kNone, "jpeg"};
  }
  int calls() const { return calls_; }

 private:
  std::atomic<int> calls_ = 0;
};

TEST(LookaheadConverter, AFailureAheadIsTriedAgainWhenTheFilesTurnComes) {
  FirstRunsOutOfMemory base;
  LookaheadConverter ahead(base, 1);
  ahead.Prefetch("a", 75);
  while (base.calls() == 0) std::this_thread::yield();  // the worker has it
  const Conversion conversion = ahead.Convert("a", 75, nullptr);
  EXPECT_TRUE(conversion.ok());
  EXPECT_EQ(base.calls(), 2);
}

}  // namespace
}  // namespace shifrodel::testing
