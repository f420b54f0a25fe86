// shifrodel-batch repack: its arguments, its lines and its exit status.
#include <gtest/gtest.h>

#include "cli/commands.h"
#include "platform/file_system.h"
#include "repack/tiff_fixture.h"
#include "support/temp_dir.h"
#include "text/cp1251_codec.h"

namespace shifrodel::testing {
namespace {

TEST(RepackCommand, PrintsOneLinePerTiffFileAndTheFinalCaption) {
  TempDir dir;
  const std::string scan = dir / "scan.tif";
  WriteTestTiff(scan, {TestPage{}});
  dir.WriteFile("broken.tif", "not a TIFF file");
  dir.WriteFile("notes.txt", "not an image");
  const auto old_size = std::to_string(*NativeFileSystem().FileSize(scan));

  ::testing::internal::CaptureStdout();
  const int status = cli::RunRepackCommand({"--verbose", dir.path()});
  const std::string out = ::testing::internal::GetCapturedStdout();

  EXPECT_EQ(status, 0);
  const std::string new_size = std::to_string(*NativeFileSystem().FileSize(scan));
  EXPECT_NE(out.find(Cp1251ToUtf8(scan) + "\treplaced " + old_size + " -> " + new_size + "\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(Cp1251ToUtf8(dir / "broken.tif") + "\tleft: not a TIFF file\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("notes.txt"), std::string::npos) << out;
  EXPECT_TRUE(out.ends_with("\n\xD0\x93\xD0\xBE\xD1\x82\xD0\xBE\xD0\xB2\xD0\xBE.\n")) << out;
}

TEST(RepackCommand, WithoutVerbosePrintsOnlyTheFinalCaption) {
  TempDir dir;
  WriteTestTiff(dir / "scan.tif", {TestPage{}});
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(cli::RunRepackCommand({dir.path()}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "\xD0\x93\xD0\xBE\xD1\x82\xD0\xBE\xD0\xB2\xD0\xBE.\n");
}

TEST(RepackCommand, RefusesWrongUsage) {
  EXPECT_EQ(cli::RunRepackCommand({}), cli::kExitCopyUsage);
  EXPECT_EQ(cli::RunRepackCommand({"a", "b"}), cli::kExitCopyUsage);
  EXPECT_EQ(cli::RunRepackCommand({"--quiet", "a"}), cli::kExitCopyUsage);
}

}  // namespace
}  // namespace shifrodel::testing
