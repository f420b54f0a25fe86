// shifrodel-sample-tree: writes a tree of scan-like images with archival
// names, for `make run`, the screenshots and the benchmarks.
//
//   shifrodel-sample-tree ROOT            a small mixed tree (colour, grey,
//                                         bilevel, JPEG, names without a
//                                         cipher, one broken file)
//   shifrodel-sample-tree --a4 N ROOT     N A4 300 dpi RGB pages in nested
//                                         fund / inventory / case folders,
//                                         hard links of one generated page,
//                                         plus a few pages without a cipher
//
// The pages are deterministic: paper tone, soft blotches, noise and dark
// bars where text lines would be.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <tiffio.h>

namespace {

namespace fs = std::filesystem;

struct Page {
  int width;
  int height;
  int channels;  // 1 or 3
  std::vector<std::uint8_t> pixels;
};

Page MakePage(int width, int height, int channels, std::uint32_t seed) {
  Page page{width, height, channels, std::vector<std::uint8_t>(std::size_t(width) * height * channels)};
  std::mt19937 random(seed);
  std::normal_distribution<float> noise(0.0f, 2.5f);
  const int margin = width / 10;
  const int line = std::max(8, height / 60);
  for (int y = 0; y < height; ++y) {
    const bool text_row = y > height / 8 && y < height * 7 / 8 && (y / line) % 2 == 0 &&
                          (y % line) > line / 4;
    for (int x = 0; x < width; ++x) {
      const float blotch = 10.0f * std::sin(x * 0.004f + seed) * std::cos(y * 0.003f);
      const bool ink = text_row && x > margin && x < width - margin &&
                       ((x / (line / 2 + 1) + y / line) % 7) != 0;
      std::uint8_t* p = &page.pixels[(std::size_t(y) * width + x) * channels];
      for (int c = 0; c < channels; ++c) {
        const float paper = 235.0f - 6.0f * c + blotch;
        const float value = (ink ? 40.0f + 10.0f * c : paper) + noise(random);
        p[c] = static_cast<std::uint8_t>(std::clamp(value, 0.0f, 255.0f));
      }
    }
  }
  return page;
}

bool WriteTiff(const fs::path& path, const Page& page, float dpi, bool bilevel) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (tif == nullptr) return false;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, dpi);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, dpi);
  bool ok = true;
  if (bilevel) {
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.height);
    std::vector<std::uint8_t> row((page.width + 7) / 8);
    for (int y = 0; ok && y < page.height; ++y) {
      std::fill(row.begin(), row.end(), 0);
      for (int x = 0; x < page.width; ++x) {
        if (page.pixels[std::size_t(y) * page.width * page.channels + x * page.channels] < 128) {
          row[x / 8] |= 0x80 >> (x % 8);
        }
      }
      ok = TIFFWriteScanline(tif, row.data(), y, 0) >= 0;
    }
  } else {
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.channels);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                 page.channels == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    const std::size_t stride = std::size_t(page.width) * page.channels;
    for (int y = 0; ok && y < page.height; ++y) {
      ok = TIFFWriteScanline(tif, const_cast<std::uint8_t*>(&page.pixels[y * stride]), y, 0) >= 0;
    }
  }
  TIFFClose(tif);
  return ok;
}

bool WriteJpeg(const fs::path& path, const Page& page) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = page.width;
  cinfo.image_height = page.height;
  cinfo.input_components = page.channels;
  cinfo.in_color_space = page.channels == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(
        &page.pixels[std::size_t(cinfo.next_scanline) * page.width * page.channels]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(out) == 0;
}

fs::path U8(const char* utf8) { return fs::path(reinterpret_cast<const char8_t*>(utf8)); }

bool SmallTree(const fs::path& root) {
  const Page colour = MakePage(620, 877, 3, 1);
  const Page grey = MakePage(620, 877, 1, 2);
  bool ok = true;
  fs::create_directories(root / U8("Опись 1"));
  fs::create_directories(root / U8("Опись 2") / U8("Дела 40-49"));
  ok &= WriteTiff(root / U8("Опись 1") / U8("ф 12 оп 1 д 1 л 1.tif"), colour, 75, false);
  ok &= WriteTiff(root / U8("Опись 1") / U8("ф 12 оп 1 д 1 л 2 оборот.tif"), grey, 75, false);
  ok &= WriteJpeg(root / U8("Опись 1") / U8("Ф.12.Оп.1.Д.2.Л.1.jpg"), colour);
  ok &= WriteTiff(root / U8("Опись 2") / U8("Дела 40-49") / U8("ф. 12, оп. 2, д. 45, л. 3.tif"),
                  grey, 75, true);
  ok &= WriteTiff(root / U8("Опись 2") / U8("Дела 40-49") / U8("ф р-7 оп 2 д 45а л 3об.TIF"),
                  colour, 150, false);
  ok &= WriteTiff(root / U8("Опись 2") / U8("обложка.tif"), colour, 75, false);
  ok &= WriteJpeg(root / U8("титульный лист.jpg"), grey);
  // A scan cut short: the copy run asks about it and logs it.
  {
    const fs::path broken = root / U8("Опись 1") / U8("ф 12 оп 1 д 3 л 1.tif");
    ok &= WriteTiff(broken, colour, 75, false);
    fs::resize_file(broken, 4096);
  }
  std::FILE* note = std::fopen((root / "readme.txt").c_str(), "w");
  if (note != nullptr) {
    std::fputs("Not an image: the copy run passes it over.\n", note);
    std::fclose(note);
  }
  return ok;
}

bool A4Tree(const fs::path& root, int pages) {
  const fs::path page_file = root / "page.tif.src";
  fs::create_directories(root);
  if (!WriteTiff(page_file, MakePage(2480, 3508, 3, 7), 300, false)) return false;
  for (int i = 0; i < pages; ++i) {
    const int inventory = 1 + i / 50;
    const int case_file = 1 + (i / 10) % 5;
    const int sheet = 1 + i % 10;
    char folder[64];
    std::snprintf(folder, sizeof folder, "оп %d/д %d", inventory, case_file);
    char name[96];
    if (i % 20 == 19) {
      std::snprintf(name, sizeof name, "скан %d.tif", i);  // no cipher
    } else {
      std::snprintf(name, sizeof name, "ф 7 оп %d д %d л %d.tif", inventory, case_file, sheet);
    }
    const fs::path dir = root / U8("ф 7") / U8(folder);
    fs::create_directories(dir);
    std::error_code error;
    fs::create_hard_link(page_file, dir / U8(name), error);
    if (error) fs::copy_file(page_file, dir / U8(name), fs::copy_options::overwrite_existing);
  }
  fs::remove(page_file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return SmallTree(argv[1]) ? 0 : 1;
  if (argc == 4 && std::strcmp(argv[1], "--a4") == 0) {
    return A4Tree(argv[3], std::atoi(argv[2])) ? 0 : 1;
  }
  std::fputs("usage: shifrodel-sample-tree [--a4 PAGES] ROOT\n", stderr);
  return 2;
}
