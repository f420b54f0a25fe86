// The repack over a real folder tree, with a scripted window, a clock that
// stands still and a file system that fails where a test asks it to.
#include "repack/tiff_repack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/dos_time.h"
#include "repack/tiff_fixture.h"
#include "support/fake_clock.h"
#include "support/faulty_file_system.h"
#include "support/scripted_window.h"
#include "support/temp_dir.h"
#include "support/test_text.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel::testing {
namespace {

constexpr std::uint64_t kPlentyOfSpace = std::uint64_t{1} << 40;

// A DOS time of a day in the archive's past (DOS times keep even seconds).
std::uint32_t OldTime() { return *PackDosTime({2007, 5, 6, 10, 20, 31}); }

class RepackTest : public ::testing::Test {
 protected:
  RepackTest() { fs_.ScriptDiskFree({kPlentyOfSpace}); }

  // A smooth uncompressed scan, which LZW makes smaller, dated OldTime().
  std::string Scan(const std::string& relative, TestPage page = {}) {
    const std::string path = dir_ / relative;
    NativeFileSystem().ForceFolders(std::string(ExtractFileFolder(path)));
    WriteTestTiff(path, {page});
    NativeFileSystem().SetLastWriteDosTime(path, OldTime());
    return path;
  }

  void Run(TRepackOptions options = {}) {
    if (options.SourceFolder.empty()) options.SourceFolder = dir_.path();
    options.OnFileDone = [this](const TRepackOutcome& o) { outcomes_.push_back(o); };
    RunRepack(job_, options);
  }

  const TRepackOutcome* OutcomeOf(const std::string& path) const {
    for (const auto& o : outcomes_) {
      if (o.path == path) return &o;
    }
    return nullptr;
  }

  std::string Bytes(const std::string& path) const {
    return NativeFileSystem().ReadWholeFile(path).value_or("<missing>");
  }
  bool Exists(const std::string& path) const { return NativeFileSystem().FileExists(path); }
  std::uint32_t Time(const std::string& path) const {
    return NativeFileSystem().GetLastWriteDosTime(path).value_or(0);
  }

  TempDir dir_;
  FaultyFileSystem fs_;
  ScriptedWindow window_;
  FakeClock clock_;
  TRunState state_;
  JobContext job_{state_, window_, fs_, clock_};
  std::vector<TRepackOutcome> outcomes_;
};

TEST_F(RepackTest, ReplacesAShrinkingScanInOneStepKeepingItsLastWriteTime) {
  const std::string scan = Scan("scan.tif");
  const auto samples = DecodedPages(scan);
  const auto tags = CarriedTagListing(scan);
  const auto old_size = *NativeFileSystem().FileSize(scan);

  Run();

  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].result, TRepackResult::kReplaced) << outcomes_[0].reason;
  EXPECT_EQ(outcomes_[0].old_size, old_size);
  EXPECT_LT(outcomes_[0].new_size, old_size);
  EXPECT_EQ(*NativeFileSystem().FileSize(scan), outcomes_[0].new_size);
  EXPECT_EQ(CompressionOf(scan), COMPRESSION_LZW);
  EXPECT_EQ(DecodedPages(scan), samples);
  EXPECT_EQ(CarriedTagListing(scan), tags);
  EXPECT_EQ(Time(scan), OldTime());
  EXPECT_FALSE(Exists(scan + "_"));
  // The scan never lacks its name: no delete of it, no rename, one replace.
  EXPECT_EQ(fs_.Calls(FsOp::kReplaceFile, scan), 1);
  EXPECT_EQ(fs_.Calls(FsOp::kDeleteFile, scan), 0);
  EXPECT_EQ(fs_.Calls(FsOp::kRenameFile), 0);
}

TEST_F(RepackTest, ShowsTheNameThenTheNameWithDotsAndPumpsTwicePerTiffFile) {
  const std::string name = W("ф 12 оп 1 д 45 л 3.tif");
  Scan(name);
  dir_.WriteFile("notes.txt", "not an image");
  Run();
  EXPECT_EQ(window_.log(), (std::vector<std::string>{
                               "pointer: busy", "state: repack", "pump", "status: " + name,
                               "status: " + name + "...", "pump", "pointer: normal", "state: idle",
                               "status: " + W("Готово."), "title: " + W("Шифродел")}));
  EXPECT_FALSE(window_.closed());
}

TEST_F(RepackTest, RepacksTiffExtensionsInAnyCaseAndNothingElse) {
  const std::vector<std::string> repacked = {Scan("a.TIF"), Scan("b.Tiff"), Scan("c.tiff")};
  const std::vector<std::string> left = {Scan("d.tif_"), Scan("e.tiff.bak"), Scan("f.tifx"),
                                         Scan("g")};
  std::vector<std::string> before;
  for (const auto& path : left) before.push_back(Bytes(path));
  Run();
  EXPECT_EQ(outcomes_.size(), repacked.size());
  for (const auto& path : repacked) EXPECT_EQ(CompressionOf(path), COMPRESSION_LZW) << path;
  for (std::size_t i = 0; i < left.size(); ++i) EXPECT_EQ(Bytes(left[i]), before[i]) << left[i];
}

TEST_F(RepackTest, LeavesAFileWhoseNewVersionIsNoSmallerByteForByteWithItsTime) {
  const std::string scan = Scan("scan.tif");
  Run();
  ASSERT_EQ(outcomes_.at(0).result, TRepackResult::kReplaced);
  // The same encoder gives the same bytes again: a version of equal size.
  NativeFileSystem().SetLastWriteDosTime(scan, *PackDosTime({2011, 1, 2, 3, 4, 6}));
  const std::string bytes = Bytes(scan);
  outcomes_.clear();

  Run();

  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].result, TRepackResult::kKept);
  EXPECT_EQ(outcomes_[0].new_size, outcomes_[0].old_size);
  EXPECT_EQ(Bytes(scan), bytes);
  EXPECT_EQ(Time(scan), *PackDosTime({2011, 1, 2, 3, 4, 6}));
  EXPECT_FALSE(Exists(scan + "_"));
}

TEST_F(RepackTest, LeavesAnLzwFileThatDoesNotShrinkUntouched) {
  TestPage noise;
  noise.noise = true;
  noise.width = 256;
  noise.length = 256;
  noise.compression = COMPRESSION_LZW;
  const std::string scan = Scan("noise.tif", noise);
  const std::string bytes = Bytes(scan);
  Run();
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].result, TRepackResult::kKept);
  EXPECT_GE(outcomes_[0].new_size, outcomes_[0].old_size);
  EXPECT_EQ(Bytes(scan), bytes);
  EXPECT_EQ(Time(scan), OldTime());
  EXPECT_FALSE(Exists(scan + "_"));
}

TEST_F(RepackTest, LeavesFilesThatAreNoTiffAndGoesOn) {
  const std::string empty = dir_.WriteFile("empty.tif", "");
  const std::string jpeg =
      dir_.WriteFile("photo.tif", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
  const std::string scan = Scan("scan.tif");
  Run();
  ASSERT_NE(OutcomeOf(empty), nullptr);
  ASSERT_NE(OutcomeOf(jpeg), nullptr);
  EXPECT_EQ(OutcomeOf(empty)->result, TRepackResult::kLeft);
  EXPECT_EQ(OutcomeOf(jpeg)->result, TRepackResult::kLeft);
  EXPECT_EQ(Bytes(empty), "");
  EXPECT_EQ(Bytes(jpeg), std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
  EXPECT_FALSE(Exists(empty + "_"));
  EXPECT_FALSE(Exists(jpeg + "_"));
  EXPECT_EQ(OutcomeOf(scan)->result, TRepackResult::kReplaced);
  EXPECT_EQ(window_.Status(), W("Готово."));
}

TEST_F(RepackTest, RepacksHiddenFilesAndFilesInHiddenFolders) {
  const std::string hidden = Scan(".hidden.tif");
  const std::string inside = Scan(NativeSeparators(".archive\\2007\\scan.tif"));
  Run();
  EXPECT_EQ(CompressionOf(hidden), COMPRESSION_LZW);
  EXPECT_EQ(CompressionOf(inside), COMPRESSION_LZW);
}

TEST_F(RepackTest, StopDuringAFileFinishesItAndEndsTheWalk) {
  Scan("a.tif");
  Scan("b.tif");
  int pumps = 0;
  window_.OnPump([&] {
    if (++pumps == 2) state_.StopRequested = true;  // the Stop button, during the first file
  });
  TRepackOptions options;
  options.ExitAfterRun = FixedField(true);
  options.ExitOnlyIfNoProblems = FixedField(false);
  Run(options);
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].result, TRepackResult::kReplaced);
  EXPECT_EQ(window_.Status(), W("Прервано."));
  EXPECT_EQ(window_.job_states().back(), TJobState::kIdle);
  EXPECT_FALSE(window_.closed());
}

struct ExitCase {
  std::int32_t problems;  // left by the last copy run
  bool exit_after_run;
  bool only_if_no_problems;
  bool closes;
};

class RepackExit : public RepackTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(RepackExit, ClosesTheWindowAsTheCheckBoxesAndTheLastCopyRunSay) {
  state_.ProblemCount = GetParam().problems;
  TRepackOptions options;
  options.ExitAfterRun = FixedField(GetParam().exit_after_run);
  options.ExitOnlyIfNoProblems = FixedField(GetParam().only_if_no_problems);
  Run(options);
  EXPECT_EQ(window_.closed(), GetParam().closes);
  EXPECT_EQ(state_.ProblemCount, GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(Cases, RepackExit,
                         ::testing::Values(ExitCase{0, true, true, true},
                                           ExitCase{2, true, true, false},
                                           ExitCase{2, true, false, true},
                                           ExitCase{0, false, false, false}));

TEST_F(RepackTest, AsksAboutLowSpaceAtAnyFileAndCancelEndsTheWalk) {
  dir_.WriteFile("notes.txt", "x");
  const std::string scan = Scan("scan.tif");
  const std::string bytes = Bytes(scan);
  fs_.ScriptDiskFree({10u << 20});
  window_.Answer({TAnswer::kCancel});
  Run();
  ASSERT_EQ(window_.questions().size(), 1u);
  EXPECT_NE(window_.questions()[0].text.find(W("перепаковку")), std::string::npos);
  EXPECT_TRUE(outcomes_.empty());
  EXPECT_EQ(Bytes(scan), bytes);
  EXPECT_EQ(window_.Status(), W("Прервано."));
}

TEST_F(RepackTest, AnEmptyFolderTextWalksTheCurrentFolder) {
  const std::string scan = Scan("scan.tif");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(Cp1251ToUtf8(dir_.path()));
  RunRepack(job_, TRepackOptions{});
  std::filesystem::current_path(previous);
  EXPECT_EQ(CompressionOf(scan), COMPRESSION_LZW);
  EXPECT_EQ(window_.statuses().front(), "scan.tif");
}

TEST_F(RepackTest, AMissingSourceFolderVisitsNothing) {
  TRepackOptions options;
  options.SourceFolder = dir_ / "missing";
  Run(options);
  EXPECT_TRUE(outcomes_.empty());
  EXPECT_EQ(window_.Status(), W("Готово."));
}

// An uncompressed 64 x 64 grey page whose strip lies beyond 2 GiB, in a
// sparse file that takes a few kilobytes of disk.
std::string WriteScanOfMoreThanTwoGibibytes(const std::string& path) {
  constexpr std::uint32_t kStripAt = 0x90000000u;
  const std::uint16_t entries[][4] = {
      {256, 3, 1, 64}, {257, 3, 1, 64}, {258, 3, 1, 8},  {259, 3, 1, 1},    {262, 3, 1, 1},
      {273, 4, 1, 0},  {277, 3, 1, 1},  {278, 3, 1, 64}, {279, 4, 1, 4096},
  };
  std::string head("II*\0\x08\0\0\0", 8);
  const auto put = [&head](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) head += static_cast<char>(v >> (8 * i));
  };
  put(std::size(entries), 2);
  for (const auto& e : entries) {
    put(e[0], 2);
    put(e[1], 2);
    put(e[2], 4);
    put(e[0] == 273 ? kStripAt : e[3], 4);
  }
  put(0, 4);
  std::string strip(4096, '\0');
  for (std::size_t i = 0; i < strip.size(); ++i) strip[i] = static_cast<char>(i / 64 + i % 64);
  std::ofstream out(Cp1251ToUtf8(path), std::ios::binary);
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  out.seekp(kStripAt);
  out.write(strip.data(), static_cast<std::streamsize>(strip.size()));
  return path;
}

TEST_F(RepackTest, AScanOfTwoGibibytesOrMoreThatShrinksIsReplaced) {
  const std::string scan = WriteScanOfMoreThanTwoGibibytes(dir_ / "huge.tif");
  const auto samples = DecodedPages(scan);
  ASSERT_EQ(*NativeFileSystem().FileSize(scan), 0x90001000ll);
  Run();
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].result, TRepackResult::kReplaced) << outcomes_[0].reason;
  EXPECT_EQ(outcomes_[0].old_size, 0x90001000ll);
  EXPECT_LT(*NativeFileSystem().FileSize(scan), 8192);
  EXPECT_EQ(DecodedPages(scan), samples);
}

TEST_F(RepackTest, LeavesAReadOnlyScanWithoutWritingATemporaryFile) {
  const std::string scan = Scan("scan.tif");
  const std::string bytes = Bytes(scan);
  ASSERT_TRUE(NativeFileSystem().SetAttributes(scan, kAttrReadOnly));
  Run();
  EXPECT_EQ(outcomes_.at(0).result, TRepackResult::kLeft);
  EXPECT_EQ(outcomes_.at(0).reason, "it is read-only");
  EXPECT_EQ(fs_.Calls(FsOp::kCreateWrite), 0);
  EXPECT_EQ(Bytes(scan), bytes);
  NativeFileSystem().SetAttributes(scan, 0);
}

TEST_F(RepackTest, NeverOverwritesAFileThatHasTheTemporaryName) {
  const std::string scan = Scan("scan.tif");
  const std::string bytes = Bytes(scan);
  dir_.WriteFile("scan.tif_", "somebody's file");
  Run();
  ASSERT_NE(OutcomeOf(scan), nullptr);
  EXPECT_EQ(OutcomeOf(scan)->result, TRepackResult::kLeft);
  EXPECT_EQ(Bytes(scan), bytes);
  EXPECT_EQ(Bytes(scan + "_"), "somebody's file");
}

struct HardFailure {
  const char* name;
  // Makes the file system fail for the scan at `path` or its temporary file.
  std::function<void(FaultyFileSystem& fs, const std::string& path)> inject;
  const char* reason;
};

HardFailure Failing(const char* name, FsOp op, bool on_temporary, const char* reason) {
  return {name,
          [=](FaultyFileSystem& fs, const std::string& path) {
            fs.Fail(op, on_temporary ? path + "_" : path);
          },
          reason};
}

class RepackHardFailure : public RepackTest, public ::testing::WithParamInterface<HardFailure> {};

TEST_P(RepackHardFailure, SkipsTheFileLeavingItIntactAndGoesOn) {
  const std::string failing = Scan(NativeSeparators("a\\scan.tif"));
  const std::string good = Scan(NativeSeparators("b\\scan.tif"));
  const std::string bytes = Bytes(failing);
  GetParam().inject(fs_, failing);
  Run();
  ASSERT_NE(OutcomeOf(failing), nullptr);
  EXPECT_EQ(OutcomeOf(failing)->result, TRepackResult::kLeft);
  EXPECT_NE(OutcomeOf(failing)->reason.find(GetParam().reason), std::string::npos)
      << OutcomeOf(failing)->reason;
  EXPECT_EQ(Bytes(failing), bytes);
  EXPECT_FALSE(Exists(failing + "_"));
  EXPECT_EQ(OutcomeOf(good)->result, TRepackResult::kReplaced);
  EXPECT_EQ(window_.job_states().back(), TJobState::kIdle);
  EXPECT_FALSE(window_.busy_pointer());
  EXPECT_EQ(window_.Status(), W("Готово."));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RepackHardFailure,
    ::testing::Values(Failing("ScanCannotBeOpened", FsOp::kOpenRead, false, "opened"),
                      Failing("AttributesCannotBeRead", FsOp::kGetAttributes, false, "attributes"),
                      Failing("TemporaryCannotBeCreated", FsOp::kCreateWrite, true, "created"),
                      Failing("SizeCannotBeMeasured", FsOp::kFileSize, true, "size"),
                      Failing("ReplaceFails", FsOp::kReplaceFile, false, "replaced"),
                      HardFailure{"DiskFillsUp",
                                  [](FaultyFileSystem& fs, const std::string& path) {
                                    fs.FailWritesAfter(1000, [path](std::string_view p) {
                                      return p == path + "_";
                                    });
                                  },
                                  "written"}),
    [](const auto& info) { return std::string(info.param.name); });

// Overwrites `count` bytes of a file at `offset` with `value`.
void Overwrite(const std::string& path, long offset, std::size_t count, char value) {
  std::fstream f(Cp1251ToUtf8(path), std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(f.is_open()) << path;
  f.seekp(offset);
  const std::string bytes(count, value);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Damage {
  const char* name;
  std::vector<TestPage> pages;
  // Damages the written file in a way that libtiff reports but reads past.
  std::function<void(const std::string& path)> damage;
  const char* reason;  // a part of the outcome's reason
};

std::vector<Damage> Damages() {
  TestPage fax;
  fax.bits = 1;
  fax.photometric = PHOTOMETRIC_MINISWHITE;
  fax.compression = COMPRESSION_CCITTFAX4;
  fax.rows_per_strip = fax.length;
  TestPage tiled_fax = fax;
  tiled_fax.tile = 32;
  TestPage one_strip;
  one_strip.rows_per_strip = one_strip.length;
  // The data of the first strip or tile follows the 8-byte header.
  const auto bad_codes = [](const std::string& path) { Overwrite(path, 40, 3, '\xFF'); };
  return {
      {"BadCodeWordsInAFaxStrip", {fax}, bad_codes, "Bad code word"},
      {"BadCodeWordsInAFaxTile", {tiled_fax}, bad_codes, "Bad code word"},
      {"BogusStripByteCountsOnTheSecondPage",
       {TestPage{}, one_strip},
       [](const std::string& path) { SetEntryValue(path, 1, TIFFTAG_STRIPBYTECOUNTS, 100); },
       "page 2"},
  };
}

class RepackDamagedScan : public RepackTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(RepackDamagedScan, LeavesItByteForByteWithItsTime) {
  const std::string scan = dir_ / "scan.tif";
  WriteTestTiff(scan, GetParam().pages);
  if (HasFatalFailure()) return;
  GetParam().damage(scan);
  if (HasFatalFailure()) return;
  NativeFileSystem().SetLastWriteDosTime(scan, OldTime());
  const std::string bytes = Bytes(scan);
  Run();
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].result, TRepackResult::kLeft);
  EXPECT_NE(outcomes_[0].reason.find(GetParam().reason), std::string::npos) << outcomes_[0].reason;
  EXPECT_TRUE(Bytes(scan) == bytes) << "the scan has changed";
  EXPECT_EQ(Time(scan), OldTime());
  EXPECT_FALSE(Exists(scan + "_"));
}

INSTANTIATE_TEST_SUITE_P(Files, RepackDamagedScan, ::testing::ValuesIn(Damages()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace shifrodel::testing
