// The copy run as a whole: its checks before the walk, fp.log, the walk,
// stopping, the final caption and the exit after the run.
#include "run/copy_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "run/copy_run_fixture.h"
#include "run/quality_text.h"
#include "support/small_disk.h"

namespace shifrodel::testing {
namespace {

TEST_F(CopyRunTest, RefusesAnEmptySourceFolder) {
  options_.SourceFolder = "";
  EXPECT_EQ(Run(), TRunOutcome::kRefused);
  EXPECT_EQ(window_.Status(), W("Выберите папку для обработки"));
  EXPECT_EQ(window_.marked_fields(), std::vector<TFolderField>{TFolderField::kSource});
  EXPECT_TRUE(window_.job_states().empty());
  EXPECT_FALSE(fs_.FileExists("fp.log"));
}

TEST_F(CopyRunTest, RefusesADestinationThatCannotBeMade) {
  struct Case {
    const char* what;
    std::function<void()> setup;
    const char* caption;
    TFolderField field;
  };
  const Case cases[] = {
      {"empty destination", [this] { options_.TargetFolder = ""; }, "Выберите результирующую папку",
       TFolderField::kTarget},
      {"destination not creatable",
       [this] { fs_.Fail(FsOp::kForceFolders, options_.TargetFolder); },
       "Выберите результирующую папку", TFolderField::kTarget},
      {"miscellaneous not creatable",
       [this] { fs_.Fail(FsOp::kForceFolders, options_.OtherFolder); },
       "Выберите результирующую папку \"Разное\"", TFolderField::kOther},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window_ = ScriptedWindow();
    fs_.Clear();
    options_.TargetFolder = dir_ / "dst";
    c.setup();
    EXPECT_EQ(Run(), TRunOutcome::kRefused);
    EXPECT_EQ(window_.Status(), W(c.caption));
    EXPECT_EQ(window_.marked_fields(), std::vector<TFolderField>{c.field});
    EXPECT_TRUE(window_.job_states().empty());
    EXPECT_FALSE(fs_.FileExists("fp.log"));
  }
}

TEST_F(CopyRunTest, CreatesAMissingDestinationWithItsParents) {
  options_.TargetFolder = Path("new\\deeper\\dst") + PathDelim();
  Source("ф 1.tif");
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_EQ(Read("new\\deeper\\dst\\Ф.    1\\Ф.1.jpg"), "jpeg:scan");
}

TEST_F(CopyRunTest, MiscellaneousFolderIsNotCheckedWhenCopyingOtherFilesIsOff) {
  options_.CopyOther = FixedField(false);
  fs_.Fail(FsOp::kForceFolders, options_.OtherFolder);
  Source("ф 1.tif");
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_FALSE(fs_.FolderExists(options_.OtherFolder));
  EXPECT_EQ(state_.OtherRoot, options_.OtherFolder + PathDelim());
}

TEST(ParseQuality, ReadsTheFieldLikeTheRun) {
  const std::pair<const char*, int> cases[] = {
      {"75%", 75}, {" 80 % ", 80}, {"101", 100}, {"5", 30},   {"abc", 75},
      {"", 75},    {"%%75", 75},   {"30%", 30},  {"-4%", 30}, {"$50", 80},
  };
  for (const auto& [text, quality] : cases) EXPECT_EQ(ParseQuality(text), quality) << text;
}

TEST_F(CopyRunTest, QualityIsWrittenBackAndUsedForTheWholeRun) {
  options_.QualityText = " 80 % ";
  Source("ф 1.tif");
  Run();
  EXPECT_EQ(window_.quality_text(), "80%");
  EXPECT_EQ(image_.JpegQuality(), 80);
  EXPECT_EQ(converter_.last_quality(), 80);
}

TEST_F(CopyRunTest, ProblemLogThatCannotBeCreatedStopsTheRunBeforeItStarts) {
  options_.QualityText = "abc";
  fs_.Fail(FsOp::kCreateWrite, "fp.log", 13);
  Source("ф 1.tif");
  EXPECT_EQ(Run(), TRunOutcome::kRefused);
  EXPECT_EQ(window_.errors(), std::vector<std::string>{"I/O error 13"});
  EXPECT_EQ(window_.quality_text(), "75%");
  EXPECT_TRUE(window_.job_states().empty());
  EXPECT_EQ(converter_.conversions(), 0);
}

TEST_F(CopyRunTest, ProblemLogIsDeletedWithoutProblemsAndStartsEmptyEveryRun) {
  const std::string broken = Source("ф 1.tif", "broken");
  window_.Answer({TAnswer::kNo});
  Run();
  EXPECT_EQ(ProblemLog(), broken + "\t" + Path("dst\\Ф.    1\\Ф.1.jpg") + "\r\n");
  EXPECT_EQ(window_.Status(), W("Готово. Проблем 1"));

  window_.Answer({TAnswer::kNo});
  Run();  // the next run counts from 0 again
  EXPECT_EQ(state_.ProblemCount, 1);
  EXPECT_EQ(ProblemLog(), broken + "\t" + Path("dst\\Ф.    1\\Ф.1.jpg") + "\r\n");

  fs_.DeleteFile(broken);
  Source("ф 2.tif");
  Run();
  EXPECT_FALSE(fs_.FileExists("fp.log"));
  EXPECT_EQ(window_.Status(), W("Готово."));
}

TEST_F(CopyRunTest, ProblemLogWriteFailureIsReportedAfterTheClosingSteps) {
  Source("ф 1.tif", "broken");
  window_.Answer({TAnswer::kNo});
  fs_.FailWritesAfter(0, [](std::string_view p) { return p == "fp.log"; });
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  ASSERT_EQ(window_.errors().size(), 1u);
  EXPECT_EQ(window_.job_states().back(), TJobState::kIdle);
  EXPECT_EQ(window_.Status(), W("Готово. Проблем 1"));
  // The report comes after the caption and the pointer are restored.
  const auto& log = window_.log();
  EXPECT_EQ(log.back().rfind("error: ", 0), 0u);
  EXPECT_EQ(log[log.size() - 2], "pointer: normal");
}

TEST_F(CopyRunTest, RunShowsItsStatesInOrder) {
  Source("ф 1.tif");
  Run();
  const std::vector<std::string> expected = {"quality: 75%",
                                             "state: copy-run",
                                             "status: " + W("Обработка..."),
                                             "pointer: busy",
                                             "pump",
                                             "status: " + W("ф 1.tif"),
                                             "title: " + W("ф 1.tif"),
                                             "state: idle",
                                             "title: " + W("Шифродел"),
                                             "status: " + W("Готово."),
                                             "pointer: normal"};
  EXPECT_EQ(window_.log(), expected);
}

TEST_F(CopyRunTest, StopTakesEffectBeforeTheNextEntry) {
  for (int i = 1; i <= 5; ++i) Source(("ф " + std::to_string(i) + ".tif").c_str());
  options_.ExitAfterRun = FixedField(true);
  window_.OnPump([this] {
    if (window_.pump_count() == 2) state_.StopRequested = true;  // Stop pressed before file 2
  });
  EXPECT_EQ(Run(), TRunOutcome::kStopped);
  EXPECT_EQ(converter_.conversions(), 2);  // the file whose pump saw Stop is still done
  EXPECT_EQ(window_.Status(), W("Прервано."));
  EXPECT_FALSE(window_.closed());
}

TEST_F(CopyRunTest, CancelInAQuestionAboutTheLastFileStopsWithoutExit) {
  Source("ф 1.tif", "broken");
  options_.ExitAfterRun = FixedField(true);
  options_.ExitOnlyIfNoProblems = FixedField(false);
  window_.Answer({TAnswer::kCancel});
  EXPECT_EQ(Run(), TRunOutcome::kStopped);
  EXPECT_EQ(window_.Status(), W("Прервано. Проблем 1"));
  EXPECT_FALSE(window_.closed());
}

TEST_F(CopyRunTest, ExitAfterTheRun) {
  struct Case {
    bool exit_after;
    bool only_if_no_problems;
    bool with_problem;
    bool closes;
  };
  const Case cases[] = {
      {false, true, false, false}, {true, true, false, true}, {true, false, false, true},
      {true, true, true, false},   {true, false, true, true},
  };
  int fund = 0;
  for (const Case& c : cases) {
    window_ = ScriptedWindow();
    if (fund > 0) fs_.DeleteFile(Path(("src\\ф " + std::to_string(fund) + ".tif").c_str()));
    ++fund;
    Source(("ф " + std::to_string(fund) + ".tif").c_str(), c.with_problem ? "broken" : "scan");
    if (c.with_problem) window_.Answer({TAnswer::kNo});
    options_.ExitAfterRun = FixedField(c.exit_after);
    options_.ExitOnlyIfNoProblems = FixedField(c.only_if_no_problems);
    Run();
    EXPECT_EQ(window_.closed(), c.closes)
        << c.exit_after << c.only_if_no_problems << c.with_problem;
  }
}

TEST_F(CopyRunTest, PerFileOptionsAreReadAfreshForEveryFile) {
  Source("ф 1 оп 1.tif");
  Source("Опись\\титул.tif");
  Source("ф 2 оп 1.jpg", "jpeg bytes");
  // Whatever the listing order, each file sees the options set before it.
  bool copy_other = true;
  std::string prefix;
  TJpegHandling handling = TJpegHandling::jhConvert;
  options_.CopyOther = [&] { return copy_other; };
  options_.DescriptionPrefix = [&] { return prefix; };
  options_.JpegHandling = [&] { return handling; };
  window_.OnPump([&] {
    copy_other = !copy_other;
    prefix = "P" + std::to_string(window_.pump_count());
    handling = window_.pump_count() % 2 ? TJpegHandling::jhCopy : TJpegHandling::jhConvert;
  });
  Run();
  EXPECT_EQ(window_.pump_count(), 3);
  // Each file's record names the prefix of its own pump.
  const std::string d1 = Read("dst\\Ф.    1\\Оп.   1\\descript.ion");
  const std::string d2 = Read("dst\\Ф.    2\\Оп.   1\\descript.ion");
  EXPECT_NE(d1.find(" P"), std::string::npos);
  EXPECT_NE(d2.find(" P"), std::string::npos);
  EXPECT_NE(d1.substr(d1.find(" P"), 3), d2.substr(d2.find(" P"), 3));
}

TEST_F(CopyRunTest, SourceFolderThatDoesNotExistEndsAtOnce) {
  options_.SourceFolder = Path("nowhere");
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_EQ(window_.Status(), W("Готово."));
  EXPECT_EQ(window_.pump_count(), 0);
}

TEST_F(CopyRunTest, RootsWithAndWithoutTrailingSeparatorPlaceAlike) {
  Source("Опись\\титул.tif");
  options_.TargetFolder += PathDelim();
  Run();
  EXPECT_EQ(state_.SourceRoot, options_.SourceFolder + PathDelim());
  EXPECT_EQ(state_.TargetRoot, options_.TargetFolder);
  EXPECT_EQ(Read("misc\\Опись\\титул.jpg"), "jpeg:scan");

  options_.SourceFolder += PathDelim();
  Run();
  EXPECT_EQ(state_.SourceRoot, options_.SourceFolder);
  // The walk joins with one more separator; the relative folder is the same.
  EXPECT_EQ(Read("misc\\Опись\\титул.jpg"), "jpeg:scan");
  EXPECT_EQ(state_.ProblemCount, 0);
}

TEST_F(CopyRunTest, WalkIsDepthFirstInTheFileSystemsOrder) {
  Source("a\\ф 1.tif");
  Source("ф 2.tif");
  Source("a\\b\\ф 3.tif");
  Source("ф 4.tif");
  // The order the file system lists, folders finished before what follows them.
  std::vector<std::string> expected;
  std::function<void(const std::string&)> list = [&](const std::string& folder) {
    const auto entries = NativeFileSystem().ListFolder(folder);
    for (const DirEntry& e : *entries) {
      const std::string path = JoinPath(folder, e.name);
      if (e.kind == EntryKind::kFolder) {
        list(path);
      } else {
        expected.push_back(path.substr(state_.SourceRoot.size()));
      }
    }
  };
  Run();
  list(options_.SourceFolder);
  std::vector<std::string> captions(window_.statuses().begin() + 1, window_.statuses().end() - 1);
  EXPECT_EQ(captions, expected);
}

TEST_F(CopyRunTest, OutputTreesInsideTheSourceAreLeftOut) {
  options_.TargetFolder = Path("src\\out");
  options_.OtherFolder = Path("src\\misc");
  options_.ExistingFiles = FixedField(TExistingFilePolicy::efRename);
  Source("ф 1.tif");
  Source("титул.tif");
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(Run(), TRunOutcome::kFinished);
    EXPECT_EQ(converter_.conversions(), 2 * (run + 1));  // never its own output
  }
  EXPECT_TRUE(Exists("src\\out\\Ф.    1\\Ф.1 (Копия 1).jpg"));
  EXPECT_FALSE(Exists("src\\out\\Ф.    1\\Ф.1 (Копия 2).jpg"));
}

// An archive tree chosen as the source maps every file onto itself: nothing
// is written, and the records keep the files' true origins.
TEST_F(CopyRunTest, AnArchiveTreeWalkedAsItsOwnSourceKeepsItsRecords) {
  Source("ф 1.tif");
  Run();
  const std::string record = Read("dst\\Ф.    1\\descript.ion");
  options_.SourceFolder = options_.TargetFolder;
  options_.ExistingFiles = FixedField(TExistingFilePolicy::efRewrite);
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_EQ(converter_.conversions(), 1);
  EXPECT_EQ(Read("dst\\Ф.    1\\descript.ion"), record);
  EXPECT_EQ(state_.ProblemCount, 0);
}

// A folder that exists but cannot be listed (no permission, a failing
// medium) is passed over, and the run says so.
TEST_F(CopyRunTest, AFolderThatCannotBeListedIsLogged) {
  Source("a\\ф 1.tif");
  Source("b\\ф 2.tif");
  fs_.Fail(FsOp::kListFolder, Path("src\\a"));
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_EQ(converter_.conversions(), 1);
  EXPECT_EQ(ProblemLog(), Path("src\\a") + "\t\r\n");
  EXPECT_EQ(window_.Status(), W("Готово. Проблем 1"));
}

#ifndef _WIN32
TEST_F(CopyRunTest, LinksToFoldersAreNotFollowed) {
  Source("a\\ф 1.tif");
  std::filesystem::create_directory_symlink(Cp1251ToUtf8(options_.SourceFolder),
                                            Cp1251ToUtf8(Path("src\\a\\loop")));
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  EXPECT_EQ(converter_.conversions(), 1);
}

TEST_F(CopyRunTest, NameThatWindows1251CannotRepresentIsLoggedNeverConverted) {
  Source("ф 1.tif");
  const std::string native = Cp1251ToUtf8(Path("src")) + "/ф 2 日本.tif";
  std::ofstream(native) << "scan";
  std::filesystem::create_directory(Cp1251ToUtf8(Path("src")) + "/папка 日本");
  Run();
  EXPECT_EQ(converter_.conversions(), 1);
  EXPECT_EQ(state_.ProblemCount, 2);
  const std::string log = ProblemLog();
  EXPECT_NE(log.find(Path("src") + PathDelim() + W("ф 2 ??.tif") + "\t\r\n"), std::string::npos);
  EXPECT_NE(log.find(Path("src") + PathDelim() + W("папка ??") + "\t\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(native));
}

TEST_F(CopyRunTest, FullDestinationDiskAsksAndLogsTheFileThatDidNotFit) {
  SmallDisk disk(24u << 20);
  if (!disk.available()) GTEST_SKIP() << "cannot mount a small disk here";
  fs_.Clear();  // measure the real disk
  options_.TargetFolder = disk.path();
  Source("ф 1.tif");
  const std::string big = Source("ф 2.tif", std::string(26u << 20, 'x'));
  Source("ф 3.tif");
  window_.Answer({TAnswer::kNo});
  EXPECT_EQ(Run(), TRunOutcome::kFinished);
  ASSERT_EQ(window_.questions().size(), 1u);
  EXPECT_EQ(window_.questions()[0].text.rfind(W("Невозможно сохранить файл:")), 0u);
  const std::string big_dest = JoinPath(disk.path(), W("Ф.    2")) + PathDelim() + W("Ф.2.jpg");
  EXPECT_EQ(ProblemLog(), big + "\t" + big_dest + "\r\n");
  EXPECT_FALSE(fs_.FileExists(big_dest));
  const std::string folder2 = JoinPath(disk.path(), W("Ф.    2"));
  EXPECT_EQ(fs_.ListFolder(folder2)->size(), 0u);  // no partial or temporary file left
  for (const char* name : {"Ф.    1", "Ф.    3"}) {
    const std::string folder = JoinPath(disk.path(), W(name));
    EXPECT_EQ(
        fs_.ReadWholeFile(JoinPath(folder, W(name).substr(0, 2) + W(name).substr(6) + ".jpg")),
        "jpeg:scan");
  }
}

TEST_F(CopyRunTest, LowSpaceOnTheDestinationDiskAsks) {
  SmallDisk disk(16u << 20);
  if (!disk.available()) GTEST_SKIP() << "cannot mount a small disk here";
  fs_.Clear();
  options_.TargetFolder = disk.path();
  Source("ф 1.tif");
  window_.Answer({TAnswer::kOk, TAnswer::kCancel});
  EXPECT_EQ(Run(), TRunOutcome::kStopped);
  ASSERT_EQ(window_.questions().size(), 2u);
  EXPECT_EQ(window_.questions()[0].text.rfind(W("Мало свободного места на диске ") + disk.path() +
                                              ": (16 Mb)"),
            0u);
  EXPECT_EQ(converter_.conversions(), 0);
}
#endif

}  // namespace
}  // namespace shifrodel::testing
