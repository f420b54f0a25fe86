// The public Photoshop test images: every good file decodes, every bad one
// fails cleanly unless its merged image is intact.
#include <gtest/gtest.h>

#include <set>

#include "imaging/corpus_files.h"
#include "imaging/decode_all.h"
#include "imaging/psd_decoder.h"

namespace shifrodel {
namespace {

using testing::ConvertFile;
using testing::CorpusFolder;
using testing::DecodeFile;
using testing::DecoderOutput;
using testing::FileNames;

TEST(PsdCorpus, EveryGoodFileDecodesAndConverts) {
  const auto folder = CorpusFolder("psd");
  if (!folder) GTEST_SKIP() << "no Photoshop corpus";
  for (const std::string& name : FileNames(*folder)) {
    const std::string path = *folder + "/" + name;
    EXPECT_TRUE(DecodeFile(OpenPsdDecoder, path).has_value()) << name;
    EXPECT_TRUE(ConvertFile(path, SourceFormat::kPsd).has_value()) << name;
  }
}

TEST(PsdCorpus, EveryBadFileFailsCleanlyUnlessItsMergedImageIsIntact) {
  const auto folder = CorpusFolder("psd/bad");
  if (!folder) GTEST_SKIP() << "no Photoshop corpus";
  // Their faults lie in layer pixels, which the reader never touches: a
  // layer partly off the canvas (legal) and a layer row coded one byte short.
  const std::set<std::string> intact = {"psd-oob-write.psd", "psd-oob-write-x.psd"};
  for (const std::string& name : FileNames(*folder)) {
    const std::string path = *folder + "/" + name;
    EXPECT_EQ(DecodeFile(OpenPsdDecoder, path).has_value(), intact.contains(name)) << name;
    EXPECT_EQ(ConvertFile(path, SourceFormat::kPsd).has_value(), intact.contains(name)) << name;
  }
}

TEST(PsdCorpus, SpotInksAndGreyPagesComeOutAsPhotoshopShowsThem) {
  const auto folder = CorpusFolder("psd");
  if (!folder) GTEST_SKIP() << "no Photoshop corpus";
  // Its CMYK channels are blank; the picture is in three spot channels.
  const auto spot = DecodeFile(OpenPsdDecoder, *folder + "/cmyk-spot.psd");
  ASSERT_TRUE(spot.has_value());
  EXPECT_NE(spot->pixels.find_first_not_of('\xFF'), std::string::npos);
  const auto grey = DecodeFile(OpenPsdDecoder, *folder + "/gray1.psd");
  ASSERT_TRUE(grey.has_value());
  EXPECT_EQ(grey->header.format, PixelFormat::kGrey8);
  EXPECT_EQ(grey->header.x_dpi, 300);
}

}  // namespace
}  // namespace shifrodel
