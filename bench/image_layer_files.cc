// shifrodel-bench-image-layer: the image layer's own work for a list of files, with
// nothing of the copy run around it: each path read from stdin (UTF-8, one
// per line) is loaded and saved as OUT/N.jpg at quality 75. The copy-run
// benchmark compares the whole run against this.
#include <cstdio>
#include <iostream>
#include <string>

#include "imaging/file_jpeg_converter.h"
#include "imaging/image_layer.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

int main(int argc, char** argv) {
  using namespace shifrodel;
  if (argc != 2) {
    std::fputs("usage: shifrodel-bench-image-layer OUT < paths\n", stderr);
    return 2;
  }
  std::string out_folder;
  Utf8ToCp1251(argv[1], &out_folder);
  FileSystem& fs = NativeFileSystem();
  FileJpegConverter converter(fs);
  ImageLayer image(fs, converter);
  image.SetJpegQuality(75);
  int failures = 0;
  int n = 0;
  for (std::string line; std::getline(std::cin, line);) {
    std::string path;
    if (!Utf8ToCp1251(line, &path)) {
      ++failures;
      continue;
    }
    image.LoadImageFile(path);
    if (!image.IoFailed()) image.SaveJpegFile(JoinPath(out_folder, std::to_string(++n) + ".jpg"));
    failures += image.IoFailed();
  }
  return failures == 0 ? 0 : 1;
}
