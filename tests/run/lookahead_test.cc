// Conversion ahead of the file step: a run with several workers asks the
// same questions in the same order and leaves the same bytes on disk as a
// run with one, whatever the answers, stops and option changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "imaging/file_jpeg_converter.h"
#include "imaging/image_fixtures.h"
#include "run/copy_run_fixture.h"
#include "run/lookahead_converter.h"

namespace shifrodel::testing {
namespace {

// Everything a run leaves: every file below the temporary folder with its
// bytes, and every window call in order, with the folder's path replaced so
// that runs in different folders compare.
struct RunRecord {
  std::map<std::string, std::string> files;
  std::vector<std::string> window;
  int problems = 0;
  bool operator==(const RunRecord&) const = default;
};

std::string Relative(std::string text, const std::string& root) {
  for (std::size_t at; (at = text.find(root)) != std::string::npos;)
    text.replace(at, root.size(), "<root>");
  return text;
}

struct Scenario {
  const char* name;
  // Builds the tree and scripts the window; runs before the run.
  std::function<void(CopyRunTest&)> setup;
};

class LookaheadRun : public CopyRunTest {
 public:
  int converted_elsewhere() const {
    return converter_.conversions_elsewhere() + real_converter_.conversions_elsewhere();
  }
  // Converts through the real decoders and encoder instead of the fake.
  void UseRealImages() { image_.set_converter(real_converter_); }

  RunRecord RecordRun(const Scenario& scenario, int workers) {
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
  void TestBody() override {}

  // Access for the scenarios.
  using CopyRunTest::dir_;
  using CopyRunTest::fs_;
  using CopyRunTest::options_;
  using CopyRunTest::Source;
  using CopyRunTest::state_;
  using CopyRunTest::window_;

 private:
  // The real converter, counting where its conversions ran.
  class CountingConverter final : public JpegConverter {
   public:
    explicit CountingConverter(FileSystem& fs) : real_(fs) {}
    std::optional<std::string> Convert(const std::string& path, int quality,
                                       const ProgressFn& progress) override {
      if (std::this_thread::get_id() != owner_) ++elsewhere_;
      return real_.Convert(path, quality, progress);
    }
    int conversions_elsewhere() const { return elsewhere_; }

   private:
    FileJpegConverter real_;
    const std::thread::id owner_ = std::this_thread::get_id();
    std::atomic<int> elsewhere_ = 0;
  };
  CountingConverter real_converter_{fs_};
};

std::string Fund(int i) { return "ф " + std::to_string(i) + " оп 1 д 1 л 1.tif"; }

void ManyFiles(CopyRunTest& t, int count) {
  auto& r = static_cast<LookaheadRun&>(t);
  for (int i = 1; i <= count; ++i) {
    const std::string folder = "п" + std::to_string(i % 3) + "\\" + std::to_string(i % 2) + "\\";
    r.Source((folder + Fund(i)).c_str(), "scan " + std::to_string(i));
  }
  r.Source("п1\\титул.tif", "title");
  r.Source("п2\\readme.txt", "not an image");
  r.Source("Ф.5.Оп.1.Д.1.Л.1.jpg", "same place as ф 5");  // two sources, one destination
}

const Scenario kScenarios[] = {
    {"plain", [](CopyRunTest& t) { ManyFiles(t, 24); }},
    {"unreadable_files_answered_no_yes_no",
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       ManyFiles(t, 12);
       for (int i : {3, 7, 11}) {
         r.Source(
             ("п" + std::to_string(i % 3) + "\\" + std::to_string(i % 2) + "\\" + Fund(i)).c_str(),
             "broken " + std::to_string(i));
       }
       r.window_.Answer({TAnswer::kNo, TAnswer::kYes, TAnswer::kNo});
     }},
    {"cancel_at_the_second_unreadable_file",
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       ManyFiles(t, 16);
       for (int i : {2, 9, 14}) {
         r.Source(
             ("п" + std::to_string(i % 3) + "\\" + std::to_string(i % 2) + "\\" + Fund(i)).c_str(),
             "broken");
       }
       r.window_.Answer({TAnswer::kNo, TAnswer::kCancel});
     }},
    {"stop_pressed_at_several_points",
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       ManyFiles(t, 20);
       r.window_.OnPump([&r] {
         if (r.window_.pump_count() == 9) r.state_.StopRequested = true;
       });
     }},
    {"ask_about_existing_files",
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       ManyFiles(t, 10);
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
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       ManyFiles(t, 18);
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
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       ManyFiles(t, 8);
       r.fs_
           .Fail(FsOp::kWriteFileAtomically,
                 r.dir_ / NativeSeparators("dst\\Ф.    4\\Оп.   1\\Д.     1\\Ф.4.Оп.1.Д.1.Л.1.jpg"))
           .Times(2);
       r.window_.Answer({TAnswer::kYes, TAnswer::kNo});
     }},
    {"real_images",
     [](CopyRunTest& t) {
       auto& r = static_cast<LookaheadRun&>(t);
       r.UseRealImages();
       for (int i = 1; i <= 9; ++i) {
         TiffSpec spec;
         spec.width = 64 + 8 * i;
         spec.height = 48;
         spec.photometric = i % 3 == 0 ? 1 : 2;  // grey or RGB
         spec.samples = i % 3 == 0 ? 1 : 3;
         spec.bits = i % 2 ? 8 : 16;
         spec.x_resolution = spec.y_resolution = 100.0f * i;
         spec.sample = [i, &spec](std::uint32_t x, std::uint32_t y, int s) {
           return static_cast<std::uint32_t>((x * 7 + y * 3 + s * 50 + i) % (1u << spec.bits));
         };
         r.Source(("п" + std::to_string(i % 2) + "\\" + Fund(i)).c_str(), MakeTiff(spec));
       }
       JpegSpec jpeg;
       jpeg.progressive = true;
       jpeg.sample = [](std::uint32_t x, std::uint32_t y, int c) {
         return static_cast<std::uint8_t>(x * 9 + y * 5 + c * 70);
       };
       r.Source("ф 20.jpg", MakeJpeg(jpeg));
       r.Source("п1\\ф 21.tif", "not a TIFF at all");
       r.window_.Answer({TAnswer::kNo});
     }},
};

void PrintTo(const Scenario& scenario, std::ostream* os) { *os << scenario.name; }

class LookaheadTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(LookaheadTest, SameResultsWithOneAndWithSeveralWorkers) {
  RunRecord one;
  {
    LookaheadRun run;
    one = run.RecordRun(GetParam(), 1);
  }
  for (int workers : {2, 4}) {
    LookaheadRun run;
    EXPECT_EQ(run.RecordRun(GetParam(), workers), one) << workers << " workers";
    EXPECT_GT(run.converted_elsewhere(), 0) << "nothing was converted ahead";
  }
  EXPECT_FALSE(one.files.empty());
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
  EXPECT_EQ(ahead.Convert(dir / "0", 75, nullptr), "jpeg:x");
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
  EXPECT_EQ(ahead.Convert(path, 75, [&] { ++progress_calls; }), "jpeg:x");
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
  EXPECT_EQ(ahead.Convert(a, 75, nullptr), "jpeg:x");
  EXPECT_EQ(ahead.Convert(dir.WriteFile("b", "broken"), 75, nullptr), std::nullopt);
}

}  // namespace
}  // namespace shifrodel::testing
