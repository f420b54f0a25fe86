#include "settings/main_settings.h"

#include <gtest/gtest.h>

#include "support/faulty_file_system.h"
#include "support/temp_dir.h"
#include "support/test_text.h"

namespace shifrodel {
namespace {

using testing::TempDir;
using testing::W;
using Policy = TExistingFilePolicy;

// What the window holds when it loads: its design texts and states.
TMainSettings DesignState() {
  TMainSettings s;
  s.Position = {182, 103};
  s.DirSource = W("C:\\Мои документы\\Мои рисунки");
  s.DirDest = "G:\\Photo";
  s.CopyOther = true;
  s.DirDestOther = W("G:\\Photo\\Разное");
  s.Pack = "75%";
  s.ExistingFiles = Policy::efLeave;
  s.JpegConvert = false;
  s.PrefixOn = false;
  s.Prefix = "DVD#001";
  return s;
}

TMainSettings LoadFrom(const std::string& ini) {
  TempDir dir;
  const ProfileFile file(NativeFileSystem(), dir.WriteFile("s.ini", ini));
  TMainSettings s = LoadSettings(file, DesignState());
  s.Position = LoadPosition(file, DesignState().Position);
  return s;
}

TEST(SettingsPath, ReplacesOrAppendsTheExtension) {
  using testing::NativeSeparators;
  EXPECT_EQ(SettingsPath(NativeSeparators("\\opt\\tools\\Shifrodel.exe")),
            NativeSeparators("\\opt\\tools\\Shifrodel.ini"));
  EXPECT_EQ(SettingsPath(NativeSeparators("\\opt\\tools.d\\shifrodel")),
            NativeSeparators("\\opt\\tools.d\\shifrodel.ini"));
}

TEST(LoadSettings, WithoutAFileTheDefaultsApply) {
  const TMainSettings s = LoadFrom("");
  const TMainSettings design = DesignState();
  EXPECT_EQ(s.Position.Left, 182);
  EXPECT_EQ(s.Position.Top, 103);
  EXPECT_EQ(s.DirSource, design.DirSource);
  EXPECT_EQ(s.DirDest, design.DirDest);
  EXPECT_TRUE(s.CopyOther);
  EXPECT_EQ(s.DirDestOther, design.DirDestOther);
  EXPECT_EQ(s.Pack, "75%");
  EXPECT_EQ(s.ExistingFiles, Policy::efRewrite) << "not the design selection";
  EXPECT_TRUE(s.JpegConvert);
  EXPECT_TRUE(s.PrefixOn);
  EXPECT_EQ(s.Prefix, "DVD#001");
}

TEST(LoadSettings, ExistingFileKeysLastTrueWins) {
  struct Case {
    const char* ini;
    std::optional<Policy> selected;
  };
  const Case cases[] = {
      {"[Main]\nExcistsAns=1\nExcistsRewrite=1\n", Policy::efRewrite},
      {"[Main]\nExcistsLeave=1\nExcistsAns=1\nExcistsRename=0\nExcistsRewrite=0\n", Policy::efAsk},
      {"[Main]\nExcistsLeave=0\nExcistsAns=0\nExcistsRename=0\nExcistsRewrite=0\n", std::nullopt},
      {"[Main]\nExcistsLeave=1\n", Policy::efRewrite},
      {"[Main]\nExcistsRename=1\nExcistsRewrite=0\n", Policy::efRename},
      {"[Main]\nExcistsRewrite=no\n", Policy::efRewrite},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadFrom(c.ini).ExistingFiles, c.selected) << c.ini;
  }
}

TEST(LoadSettings, NumbersFollowTheIntegerTextRule) {
  struct Case {
    const char* ini;
    bool copy_other;
    std::int32_t left;
  };
  const Case cases[] = {
      {"[Main]\nCopyOther=yes\nLeft=abc\n", true, 182},
      {"[Main]\nCopyOther=2\nLeft=-5000\n", true, -5000},
      {"[Main]\nCopyOther=0x0\nLeft=$10\n", false, 16},
      {"[Main]\nCopyOther= 0\nLeft=  12 \n", false, 12},
      {"[Main]\nCopyOther=\nLeft=1e3\n", true, 182},
      {"[Main]\nCopyOther=-1\nLeft=2147483648\n", true, 182},
  };
  for (const Case& c : cases) {
    const TMainSettings s = LoadFrom(c.ini);
    EXPECT_EQ(s.CopyOther, c.copy_other) << c.ini;
    EXPECT_EQ(s.Position.Left, c.left) << c.ini;
    EXPECT_EQ(s.Position.Top, 103) << c.ini;
  }
}

TEST(LoadSettings, StringsAreTakenVerbatimUpTo2047Characters) {
  const std::string long_folder(3000, 'x');
  const TMainSettings s =
      LoadFrom("[Main]\nPack=abc\nedPref=CD#7\ncbPref=0\nrgJPEG=0\nDirDest=" + long_folder +
               "\nDirSource=" + W("D:\\Сканы") + "\n");
  EXPECT_EQ(s.Pack, "abc");
  EXPECT_EQ(s.Prefix, "CD#7");
  EXPECT_FALSE(s.PrefixOn);
  EXPECT_FALSE(s.JpegConvert);
  EXPECT_EQ(s.DirDest, std::string(2047, 'x'));
  EXPECT_EQ(s.DirSource, W("D:\\Сканы"));
}

TMainSettings Changed() {
  TMainSettings s;
  s.Position = {-4, 2000};
  s.DirSource = W("E:\\Фонд 12");
  s.DirDest = W("F:\\Копии");
  s.CopyOther = false;
  s.DirDestOther = W("F:\\Прочее");
  s.Pack = "80 %";
  s.ExistingFiles = Policy::efRename;
  s.JpegConvert = false;
  s.PrefixOn = false;
  s.Prefix = "";
  return s;
}

TEST(SaveSettings, NewFileListsAllKeysInWriteOrder) {
  TempDir dir;
  ProfileFile file(NativeFileSystem(), dir / "s.ini");
  ASSERT_TRUE(SaveSettings(file, Changed()));
  EXPECT_EQ(dir.ReadFile("s.ini"), W("[Main]\r\n"
                                     "Left=-4\r\n"
                                     "Top=2000\r\n"
                                     "DirSource=E:\\Фонд 12\r\n"
                                     "DirDest=F:\\Копии\r\n"
                                     "CopyOther=0\r\n"
                                     "DirDestOther=F:\\Прочее\r\n"
                                     "Pack=80 %\r\n"
                                     "ExcistsLeave=0\r\n"
                                     "ExcistsAns=0\r\n"
                                     "ExcistsRename=1\r\n"
                                     "ExcistsRewrite=0\r\n"
                                     "rgJPEG=0\r\n"
                                     "cbPref=0\r\n"
                                     "edPref=\r\n"));
}

TEST(SaveSettings, RoundTripsEveryKey) {
  TempDir dir;
  for (const TMainSettings& saved : {Changed(), DesignState()}) {
    ProfileFile out(NativeFileSystem(), dir / "s.ini");
    ASSERT_TRUE(SaveSettings(out, saved));
    const ProfileFile in(NativeFileSystem(), dir / "s.ini");
    TMainSettings other;
    other.CopyOther = !saved.CopyOther;
    const TMainSettings s = LoadSettings(in, other);
    const TWindowPosition position = LoadPosition(in, {});
    EXPECT_EQ(position.Left, saved.Position.Left);
    EXPECT_EQ(position.Top, saved.Position.Top);
    EXPECT_EQ(s.DirSource, saved.DirSource);
    EXPECT_EQ(s.DirDest, saved.DirDest);
    EXPECT_EQ(s.CopyOther, saved.CopyOther);
    EXPECT_EQ(s.DirDestOther, saved.DirDestOther);
    EXPECT_EQ(s.Pack, saved.Pack);
    EXPECT_EQ(s.ExistingFiles, saved.ExistingFiles);
    EXPECT_EQ(s.JpegConvert, saved.JpegConvert);
    EXPECT_EQ(s.PrefixOn, saved.PrefixOn);
    EXPECT_EQ(s.Prefix, saved.Prefix);
  }
}

TEST(SaveSettings, StopsAtTheFirstKeyThatCannotBeWritten) {
  TempDir dir;
  testing::FaultyFileSystem fs;
  int writes = 0;
  fs.FailWhere(testing::FsOp::kWriteFileAtomically,
               [&writes](std::string_view) { return ++writes > 3; });
  ProfileFile file(fs, dir / "s.ini");
  EXPECT_FALSE(SaveSettings(file, Changed()));
  EXPECT_EQ(dir.ReadFile("s.ini"), W("[Main]\r\nLeft=-4\r\nTop=2000\r\nDirSource=E:\\Фонд 12\r\n"));
}

}  // namespace
}  // namespace shifrodel
