// The file step, driven through whole copy runs over small source trees.
#include "run/file_step.h"

#include <gtest/gtest.h>

#include "run/copy_run_fixture.h"

namespace shifrodel::testing {
namespace {

// The archive destination of "ф 1 оп 2 д 3 л 4.*" below dst, "\" between folders.
constexpr const char* kDest = "dst\\Ф.    1\\Оп.   2\\Д.     3\\Ф.1.Оп.2.Д.3.Л.4.jpg";
constexpr const char* kDestFolder = "dst\\Ф.    1\\Оп.   2\\Д.     3\\";

class FileStepTest : public CopyRunTest {
 protected:
  std::string DescriptionList() {
    return Read((std::string(kDestFolder) + "descript.ion").c_str());
  }
  // The description line the copy run writes for kDest from `source`.
  std::string LineFor(const std::string& source, const char* name = "Ф.1.Оп.2.Д.3.Л.4.jpg") {
    const std::string dest = Path((std::string(kDestFolder) + name).c_str());
    return W(name) + " \"" + dest + "\" " + source;
  }
};

TEST_F(FileStepTest, ConvertsRecordsAndShowsProgress) {
  const std::string source = Source("Опись 2\\ф 1 оп 2 д 3 л 4.tif");
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_EQ(Read(kDest), "jpeg:scan");
  EXPECT_EQ(DescriptionList(), LineFor(source));
  EXPECT_FALSE(fs_.FileExists("fp.log"));
  EXPECT_EQ(window_.Status(), W("Готово."));
  EXPECT_EQ(window_.task_title(), W("Шифродел"));
  const std::vector<std::string> expected_captions = {
      W("Обработка..."), NativeSeparators("Опись 2\\ф 1 оп 2 д 3 л 4.tif"), W("Готово.")};
  EXPECT_EQ(window_.statuses(), expected_captions);
  EXPECT_EQ(converter_.last_quality(), 75);
}

TEST_F(FileStepTest, DescriptionCarriesThePrefix) {
  const std::string source = Source("ф 1 оп 2 д 3 л 4.tif");
  options_.DescriptionPrefix = FixedField(W("DVD#001"));
  Run();
  EXPECT_EQ(DescriptionList(), LineFor(W("DVD#001\\") + source));
}

TEST_F(FileStepTest, OnlyTheSixImageTypesAreTakenInAnyCase) {
  Source("ф 1 фото.png");
  Source("descript.ion");
  Source("ф 1 без расширения");
  Source("ф 2.TIFF");
  Source("ф 3.Jpg");
  Source("ф 4.BMP");
  Source("ф 5.psd");
  Source("ф 6.jpeg");
  Run();
  EXPECT_EQ(converter_.conversions(), 5);
  EXPECT_TRUE(Exists("dst\\Ф.    2\\Ф.2.jpg"));
  EXPECT_FALSE(Exists("dst\\Ф.    1\\Ф.1 фото.png.jpg"));
  EXPECT_EQ(window_.statuses().size(), 2u + 5u);  // "Обработка...", one per image, "Готово."
  EXPECT_FALSE(fs_.FileExists("fp.log"));
}

TEST_F(FileStepTest, FilesWithoutCipherGoToTheMiscellaneousTreeOrNowhere) {
  Source("Опись 5\\титул.tif");
  Run();
  EXPECT_EQ(Read("misc\\Опись 5\\титул.jpg"), "jpeg:scan");

  options_.CopyOther = FixedField(false);
  Source("Опись 5\\обложка.tif");
  Run();
  EXPECT_FALSE(Exists("misc\\Опись 5\\обложка.jpg"));
  EXPECT_EQ(state_.ProblemCount, 0);
}

struct PolicyCase {
  const char* what;
  TExistingFilePolicy policy;
  std::vector<TAnswer> answers;
  const char* dest_after;  // content of kDest afterwards
  int conversions;         // of the file whose destination exists
};

class ExistingFilePolicyTest : public FileStepTest,
                               public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(ExistingFilePolicyTest, DecidesAndAlwaysDescribesTheDestination) {
  const PolicyCase& c = GetParam();
  const std::string source = Source("ф 1 оп 2 д 3 л 4.tif");
  Source("ф 9.tif");
  dir_.WriteFile(NativeSeparators(kDest), "old");
  options_.ExistingFiles = FixedField(c.policy);
  for (TAnswer a : c.answers) window_.Answer({a});

  EXPECT_EQ(Run(), TRunOutcome::kFinished);  // Cancel in this question only skips the file
  EXPECT_EQ(Read(kDest), c.dest_after);
  EXPECT_EQ(converter_.conversions(), c.conversions + 1);  // + the other file
  EXPECT_EQ(DescriptionList(), LineFor(source));           // named after the current source
  EXPECT_TRUE(Exists("dst\\Ф.    9\\Ф.9.jpg"));
  EXPECT_EQ(window_.unexpected_questions(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Policies, ExistingFilePolicyTest,
    ::testing::Values(
        PolicyCase{"leave", TExistingFilePolicy::efLeave, {}, "old", 0},
        PolicyCase{"rewrite", TExistingFilePolicy::efRewrite, {}, "jpeg:scan", 1},
        PolicyCase{"ask_ok", TExistingFilePolicy::efAsk, {TAnswer::kOk}, "jpeg:scan", 1},
        PolicyCase{"ask_cancel", TExistingFilePolicy::efAsk, {TAnswer::kCancel}, "old", 0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(FileStepTest, AskQuestionText) {
  const std::string source = Source("ф 1 оп 2 д 3 л 4.tif");
  dir_.WriteFile(NativeSeparators(kDest), "old");
  options_.ExistingFiles = FixedField(TExistingFilePolicy::efAsk);
  window_.Answer({TAnswer::kOk});
  Run();
  ASSERT_EQ(window_.questions().size(), 1u);
  EXPECT_EQ(window_.questions()[0].text, W("Файл существует:\r\"") + Path(kDest) +
                                             W("\"\r\rИсходный:\r\"") + source +
                                             W("\"\r\rНажмите кнопку ОК, чтобы заменить файл."));
  EXPECT_EQ(window_.questions()[0].buttons, TQuestionButtons::kOkCancel);
}

TEST_F(FileStepTest, RenameTakesTheFirstFreeCopyNumber) {
  Source("ф 1 оп 2 д 3 л 4.jpeg");
  dir_.WriteFile(NativeSeparators(kDest), "old");
  dir_.WriteFile(NativeSeparators(std::string(kDestFolder) + "Ф.1.Оп.2.Д.3.Л.4 (Копия 1).jpg"),
                 "old 1");
  options_.ExistingFiles = FixedField(TExistingFilePolicy::efRename);
  Run();
  EXPECT_EQ(Read(kDest), "old");
  EXPECT_EQ(Read((std::string(kDestFolder) + "Ф.1.Оп.2.Д.3.Л.4 (Копия 2).jpg").c_str()),
            "jpeg:scan");
}

struct ReadFailureCase {
  TAnswer answer;
  bool source_kept;
  TRunOutcome outcome;
  const char* caption;
};

TEST_F(FileStepTest, UnreadableSourceAsksThenLogs) {
  const ReadFailureCase cases[] = {
      {TAnswer::kNo, true, TRunOutcome::kFinished, "Готово. Проблем 1"},
      {TAnswer::kYes, false, TRunOutcome::kFinished, "Готово. Проблем 1"},
      {TAnswer::kCancel, true, TRunOutcome::kStopped, "Прервано. Проблем 1"},
  };
  for (const ReadFailureCase& c : cases) {
    window_ = ScriptedWindow();
    const std::string source = Source("ф 1 оп 2 д 3 л 4.tif", "broken");
    window_.Answer({c.answer});
    EXPECT_EQ(Run(), c.outcome);
    ASSERT_EQ(window_.questions().size(), 1u);
    EXPECT_EQ(window_.questions()[0].text,
              W("Невозможно прочитать файл. Возможно, файл повреждён:\r") + source +
                  W("\r\rУдалить файл?"));
    EXPECT_EQ(window_.questions()[0].buttons, TQuestionButtons::kYesNoCancel);
    EXPECT_EQ(fs_.FileExists(source), c.source_kept);
    EXPECT_EQ(ProblemLog(), source + "\t" + Path(kDest) + "\r\n");
    EXPECT_EQ(window_.Status(), W(c.caption));
  }
}

// A scan that could not be opened (no permission, locked by the scanning
// program) may be a good one: it is never offered for deletion. The file
// already at its destination keeps its content and its record.
TEST_F(FileStepTest, SourceThatCannotBeOpenedIsAProblemNeverOfferedForDeletion) {
  const std::string source = Source("ф 1 оп 2 д 3 л 4.tif");
  dir_.WriteFile(NativeSeparators(kDest), "older version");
  dir_.WriteFile(NativeSeparators(std::string(kDestFolder) + "descript.ion"), "old record");
  fs_.Fail(FsOp::kReadWholeFile, source, 13);
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_TRUE(window_.questions().empty());
  EXPECT_TRUE(fs_.FileExists(source));
  EXPECT_EQ(Read(kDest), "older version");
  EXPECT_EQ(DescriptionList(), "old record");
  EXPECT_EQ(ProblemLog(), source + "\t" + Path(kDest) + "\r\n");
}

TEST_F(FileStepTest, FailedSaveAsksAndRetries) {
  Source("ф 1 оп 2 д 3 л 4.tif");
  fs_.Fail(FsOp::kWriteFileAtomically, Path(kDest)).Times(2);
  window_.Answer({TAnswer::kYes, TAnswer::kYes});
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  ASSERT_EQ(window_.questions().size(), 2u);
  EXPECT_EQ(window_.questions()[0].text,
            W("Невозможно сохранить файл:\r") + Path(kDest) + W("\r\rПовторить сохранение?"));
  EXPECT_EQ(Read(kDest), "jpeg:scan");
  EXPECT_EQ(converter_.conversions(), 1);  // a retried save does not convert again
  EXPECT_FALSE(fs_.FileExists("fp.log"));
}

// A save is atomic, so a failed one leaves the older file whole: it stays,
// with its own record, and the new file is a problem.
TEST_F(FileStepTest, FailedSaveGivenUpKeepsTheOlderFileAndIsLogged) {
  for (TAnswer answer : {TAnswer::kNo, TAnswer::kCancel}) {
    window_ = ScriptedWindow();
    const std::string source = Source("ф 1 оп 2 д 3 л 4.tif");
    Source("ф 9.tif");
    dir_.WriteFile(NativeSeparators(kDest), "older version");
    dir_.WriteFile(NativeSeparators(std::string(kDestFolder) + "descript.ion"), "old record");
    fs_.Fail(FsOp::kWriteFileAtomically, Path(kDest));
    window_.Answer({answer});
    Run();
    fs_.Clear();
    fs_.ScriptDiskFree({std::uint64_t{1} << 32});
    EXPECT_EQ(Read(kDest), "older version");
    EXPECT_EQ(DescriptionList(), "old record");
    EXPECT_EQ(ProblemLog(), source + "\t" + Path(kDest) + "\r\n");
    // Cancel gives the file up and stops the run before the next entry.
    EXPECT_EQ(state_.StopRequested, answer == TAnswer::kCancel);
    fs_.DeleteFile(Path("dst\\Ф.    9\\Ф.9.jpg"));
  }
}

TEST_F(FileStepTest, DestinationFolderThatCannotBeCreatedIsAFailedSave) {
  Source("ф 1 оп 2 д 3 л 4.tif");
  const std::string fund_folder = W("Ф.    1");
  fs_.FailWhere(FsOp::kForceFolders,
                [fund_folder](std::string_view p) { return p.find(fund_folder) != p.npos; });
  window_.Answer({TAnswer::kNo});
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  ASSERT_EQ(window_.questions().size(), 1u);
  EXPECT_EQ(window_.questions()[0].buttons, TQuestionButtons::kYesNoCancel);
  EXPECT_EQ(state_.ProblemCount, 1);
  EXPECT_EQ(window_.job_states().back(), TJobState::kIdle);
}

TEST_F(FileStepTest, CopyAsIsCopiesJpegFilesAndConvertsTheRest) {
  Source("ф 1 оп 2 д 3 л 4.jpg", "jpeg bytes");
  Source("ф 2.tif", "tiff bytes");
  dir_.WriteFile(NativeSeparators(kDest), "old");
  options_.JpegHandling = FixedField(TJpegHandling::jhCopy);
  Run();
  EXPECT_EQ(Read(kDest), "jpeg bytes");  // replaced under efRewrite, unchanged bytes
  EXPECT_EQ(Read("dst\\Ф.    2\\Ф.2.jpg"), "jpeg:tiff bytes");
  EXPECT_EQ(converter_.conversions(), 1);
}

// Also over an older file, which a failed copy leaves as it was: it is not
// described as coming from this source.
TEST_F(FileStepTest, FailedCopyIsLogged) {
  const std::string source = Source("ф 1 оп 2 д 3 л 4.jpg");
  options_.JpegHandling = FixedField(TJpegHandling::jhCopy);
  for (const bool older_file : {false, true}) {
    if (older_file) {
      dir_.WriteFile(NativeSeparators(kDest), "older version");
      dir_.WriteFile(NativeSeparators(std::string(kDestFolder) + "descript.ion"), "old record");
    }
    fs_.Fail(FsOp::kCopyFile, source);
    Run();
    fs_.Clear();
    EXPECT_TRUE(window_.questions().empty());
    EXPECT_EQ(ProblemLog(), source + "\t" + Path(kDest) + "\r\n");
    if (older_file) {
      EXPECT_EQ(Read(kDest), "older version");
      EXPECT_EQ(DescriptionList(), "old record");
    }
  }
}

TEST_F(FileStepTest, LowSpaceQuestionComesAfterTheExistingFileQuestionAlsoForSkippedFiles) {
  Source("ф 1 оп 2 д 3 л 4.tif");
  dir_.WriteFile(NativeSeparators(kDest), "old");
  options_.ExistingFiles = FixedField(TExistingFilePolicy::efAsk);
  fs_.ScriptDiskFree({10 * 1024 * 1024, 100 * 1024 * 1024});
  window_.Answer({TAnswer::kCancel, TAnswer::kOk});
  Run();
  ASSERT_EQ(window_.questions().size(), 2u);
  EXPECT_EQ(window_.questions()[0].buttons, TQuestionButtons::kOkCancel);
  EXPECT_NE(window_.questions()[1].text.find(W("Мало свободного места")), std::string::npos);
  EXPECT_EQ(Read(kDest), "old");
  EXPECT_EQ(DescriptionList(), LineFor(Path("src\\ф 1 оп 2 д 3 л 4.tif")));
}

TEST_F(FileStepTest, CancelInTheLowSpaceQuestionEndsTheStepUnrecorded) {
  Source("ф 1 оп 2 д 3 л 4.tif");
  fs_.ScriptDiskFree({10 * 1024 * 1024});
  window_.Answer({TAnswer::kCancel});
  EXPECT_EQ(Run(), TRunOutcome::kStopped);
  EXPECT_FALSE(Exists(kDest));
  EXPECT_FALSE(Exists((std::string(kDestFolder) + "descript.ion").c_str()));
  EXPECT_FALSE(fs_.FileExists("fp.log"));
  EXPECT_EQ(window_.Status(), W("Прервано."));
}

TEST_F(FileStepTest, CaptionIsTheSourceBelowItsRootCutTo1024) {
  std::string relative;
  for (int i = 0; i < 6; ++i) relative += std::string(200, 'a' + i) + "\\";
  relative += "ф 1.tif";
  Source(relative.c_str());
  Run();
  ASSERT_EQ(window_.statuses().size(), 3u);
  EXPECT_EQ(window_.statuses()[1], NativeSeparators(relative).substr(0, 1024));
}

}  // namespace
}  // namespace shifrodel::testing
