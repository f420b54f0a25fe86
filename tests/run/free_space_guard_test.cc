#include "run/free_space_guard.h"

#include <gtest/gtest.h>

#include "support/fake_clock.h"
#include "support/faulty_file_system.h"
#include "support/scripted_window.h"
#include "support/test_text.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

using testing::FakeClock;
using testing::FaultyFileSystem;
using testing::FsOp;
using testing::ScriptedWindow;
using testing::W;

constexpr std::uint64_t kMb = 1024 * 1024;

class GuardTest : public ::testing::Test {
 protected:
  // Free space of the scripted disk, in whole megabytes, in turn.
  void Disk(std::initializer_list<std::optional<std::uint64_t>> mb) {
    std::vector<std::optional<std::uint64_t>> bytes;
    for (const auto& m : mb) bytes.push_back(m ? std::optional(*m * kMb + 5) : std::nullopt);
    fs_.ScriptDiskFree(bytes, W("/media/архив"));
  }

  TRunState state_;
  ScriptedWindow window_;
  FaultyFileSystem fs_;
  FakeClock clock_{1000};
  JobContext job_{state_, window_, fs_, clock_};
  const std::string path_ = W("g:\\Фото\\x.jpg");
};

TEST_F(GuardTest, LabelTexts) {
  struct Case {
    std::int32_t mb;
    const char* text;
  };
  const Case cases[] = {
      {-1, "Свободно -1 Mb"},
      {0, "Свободно 0 Mb"},
      {50, "Свободно 50 Mb"},
      {51, "Свободно более 51 Mb"},
      {1024, "Свободно более 1024 Mb"},
      {1025, "Свободно более 1 Gb"},
      {2047, "Свободно более 1 Gb"},
      {2048, "Свободно более 2 Gb"},
      {2147483647, "Свободно более 2097151 Gb"},
  };
  for (const Case& c : cases) {
    state_.FreeSpaceMb = c.mb;
    state_.LastLabelUpdate = clock_.now() - 501;
    UpdateFreeSpaceLabel(job_);
    ASSERT_FALSE(window_.free_space_texts().empty());
    EXPECT_EQ(window_.free_space_texts().back(), W(c.text)) << c.mb;
  }
}

TEST_F(GuardTest, LabelIsUpdatedAtMostEvery500MsAcrossTheTickWrap) {
  clock_.Set(0xFFFFFF00);
  ResetFreeSpaceCache(job_);
  clock_.Advance(500);
  UpdateFreeSpaceLabel(job_);
  EXPECT_TRUE(window_.free_space_texts().empty());
  clock_.Advance(1);  // 501 ms later, past the wrap
  UpdateFreeSpaceLabel(job_);
  ASSERT_EQ(window_.free_space_texts().size(), 1u);
  EXPECT_EQ(window_.free_space_texts()[0], W("Свободно -1 Mb"));  // before the first measurement
  EXPECT_EQ(state_.LastLabelUpdate, 0xFFFFFF00u + 501);
  clock_.Advance(300);
  UpdateFreeSpaceLabel(job_);
  EXPECT_EQ(window_.free_space_texts().size(), 1u);
}

TEST_F(GuardTest, RefreshMeasuresWhenLowOrOld) {
  Disk({100, 100, 49, 49, 50});
  ResetFreeSpaceCache(job_);
  RefreshFreeSpace(job_, path_);  // the first of a job always measures
  EXPECT_EQ(state_.FreeSpaceMb, 100);
  EXPECT_EQ(fs_.Calls(FsOp::kDiskFree), 1);
  clock_.Advance(5000);
  RefreshFreeSpace(job_, path_);  // exactly 5000 ms: not yet old
  EXPECT_EQ(fs_.Calls(FsOp::kDiskFree), 1);
  clock_.Advance(1);
  RefreshFreeSpace(job_, path_);
  EXPECT_EQ(fs_.Calls(FsOp::kDiskFree), 2);
  EXPECT_EQ(state_.LastSpaceCheck, clock_.now());

  state_.FreeSpaceMb = 49;  // below 50: every call measures
  RefreshFreeSpace(job_, path_);
  RefreshFreeSpace(job_, path_);
  EXPECT_EQ(fs_.Calls(FsOp::kDiskFree), 4);
  EXPECT_EQ(state_.FreeSpaceMb, 49);
  RefreshFreeSpace(job_, path_);
  EXPECT_EQ(state_.FreeSpaceMb, 50);  // exactly 50: renewed by age only
  RefreshFreeSpace(job_, path_);
  EXPECT_EQ(fs_.Calls(FsOp::kDiskFree), 5);
}

TEST_F(GuardTest, RefreshAgeSurvivesTheTickWrap) {
  Disk({100, 200});
  clock_.Set(0xFFFFF000);
  ResetFreeSpaceCache(job_);
  RefreshFreeSpace(job_, path_);
  clock_.Advance(4096 + 1000);  // past the wrap, 5096 ms later
  RefreshFreeSpace(job_, path_);
  EXPECT_EQ(state_.FreeSpaceMb, 200);
}

TEST_F(GuardTest, AsksBelow20UntilEnoughOrCancel) {
  Disk({19, 5, 20});
  ResetFreeSpaceCache(job_);
  RefreshFreeSpace(job_, path_);
  const std::uint32_t checked = state_.LastSpaceCheck;
  clock_.Advance(77);
  window_.Answer({TAnswer::kOk, TAnswer::kOk});
  EXPECT_TRUE(GuardFreeSpace(job_, path_, TGuardActivity::gaCopy));
  ASSERT_EQ(window_.questions().size(), 2u);
  EXPECT_EQ(state_.FreeSpaceMb, 20);
  EXPECT_EQ(state_.LastSpaceCheck, checked);  // the question's measurements leave it
  EXPECT_FALSE(state_.StopRequested);

  const std::string disk =
      kNativePathStyle == PathStyle::kWindows ? std::string("g") : W("/media/архив");
  EXPECT_EQ(window_.questions()[0].text, W("Мало свободного места на диске ") + disk +
                                             W(": (19 Mb)\r\rОсвободите место на диске.\r\r"
                                               "Нажмите ОК, чтобы продолжить копирование.\r"
                                               "Нажмите Отмена, чтобы остановить копирование."));
  EXPECT_EQ(window_.questions()[0].buttons, TQuestionButtons::kOkCancel);
  EXPECT_NE(window_.questions()[1].text.find(": (5 Mb)"), std::string::npos);
}

TEST_F(GuardTest, CancelStopsTheRepack) {
  Disk({3});
  ResetFreeSpaceCache(job_);
  RefreshFreeSpace(job_, path_);
  window_.Answer({TAnswer::kCancel});
  EXPECT_FALSE(GuardFreeSpace(job_, path_, TGuardActivity::gaRepack));
  EXPECT_TRUE(state_.StopRequested);
  ASSERT_EQ(window_.questions().size(), 1u);
  const std::string& text = window_.questions()[0].text;
  EXPECT_NE(text.find(W("\r\rНажмите ОК, чтобы продолжить перепаковку.\r"
                        "Нажмите Отмена, чтобы остановить перепаковку.")),
            std::string::npos);
}

TEST_F(GuardTest, UnmeasurableDiskNeitherAsksNorShowsAFigure) {
  Disk({std::nullopt});
  ResetFreeSpaceCache(job_);
  RefreshFreeSpace(job_, path_);
  EXPECT_TRUE(GuardFreeSpace(job_, path_, TGuardActivity::gaCopy));
  EXPECT_TRUE(window_.questions().empty());
  clock_.Advance(501);
  UpdateFreeSpaceLabel(job_);
  ASSERT_EQ(window_.free_space_texts().size(), 1u);
  EXPECT_EQ(window_.free_space_texts()[0], W("Свободное место неизвестно"));
}

TEST_F(GuardTest, MeasurementThatFailsAfterAQuestionLetsTheJobGoOn) {
  Disk({10, std::nullopt});
  ResetFreeSpaceCache(job_);
  RefreshFreeSpace(job_, path_);
  window_.Answer({TAnswer::kOk});
  EXPECT_TRUE(GuardFreeSpace(job_, path_, TGuardActivity::gaCopy));
  EXPECT_EQ(window_.questions().size(), 1u);
}

TEST(DiskFreeMb, TruncatesToMegabytesAndKeepsTheLow32Bits) {
  FaultyFileSystem fs;
  fs.ScriptDiskFree({kMb - 1, 20 * kMb + kMb - 1, (std::uint64_t{1} << 52) + 7 * kMb});
  EXPECT_EQ(DiskFreeMb(fs, "x"), 0);
  EXPECT_EQ(DiskFreeMb(fs, "x"), 20);
  EXPECT_EQ(DiskFreeMb(fs, "x"), 7);  // 2^32 MB and 7 wrap to 7
}

}  // namespace
}  // namespace shifrodel
