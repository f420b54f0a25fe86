// shifrodel-batch convert [--quality N] SOURCE DEST: converts one image into
// a JPEG file through the image layer, as the copy run does. Exit status 0,
// 1 when the source cannot be read, 2 when the JPEG file cannot be saved.
#include <cstdio>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "imaging/file_jpeg_converter.h"
#include "imaging/image_layer.h"
#include "platform/file_system.h"
#include "text/int_text.h"

namespace shifrodel::cli {
namespace {

constexpr int kExitLoadFailed = 1;
constexpr int kExitSaveFailed = 2;

int Usage() {
  std::fputs("usage: shifrodel-batch convert [--quality N] SOURCE DEST   (N from 1 to 100)\n",
             stderr);
  return kExitBadArguments;
}

}  // namespace

int RunConvert(const Arguments& args) {
  int quality = 80;
  std::size_t first = 0;
  if (!args.empty() && args[0] == "--quality") {
    const auto value = args.size() > 1 ? ParseIntText(args[1]) : std::nullopt;
    if (!value || *value < 1 || *value > 100) return Usage();
    quality = *value;
    first = 2;
  }
  if (args.size() != first + 2) return Usage();
  const std::string& source = args[first];
  const std::string& dest = args[first + 1];

  FileJpegConverter converter(NativeFileSystem());
  ImageLayer layer(NativeFileSystem(), converter);
  layer.SetJpegQuality(quality);
  layer.LoadImageFile(source);
  if (layer.IoFailed()) {
    Print(stderr, "shifrodel-batch: cannot read the image \"" + source + "\"\n");
    return kExitLoadFailed;
  }
  layer.SaveJpegFile(dest);
  if (layer.IoFailed()) {
    Print(stderr, "shifrodel-batch: cannot save the JPEG file \"" + dest + "\"\n");
    return kExitSaveFailed;
  }
  return 0;
}

}  // namespace shifrodel::cli
