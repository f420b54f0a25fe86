/* The yardstick for the converter's speed and memory: TIFF scanlines
 * streamed straight into libjpeg with the image layer's JPEG settings and
 * no other work. Takes the layouts of scanned pages (stripped, samples
 * interleaved: RGB and grey of 8 or 16 bits, bi-level of any compression)
 * and JPEG files (decoded to RGB and written again).
 *
 *   shifrodel-bench-baseline [-q QUALITY] SOURCE DEST.jpg
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>
#include <tiffio.h>

enum { kBandRows = 16 };

static unsigned char To8(uint16_t v) { return (unsigned char)((v * 255u + 32895u) >> 16); }

static void Fail(const char* what) {
  fprintf(stderr, "baseline: %s\n", what);
  exit(1);
}

static void StartJpeg(struct jpeg_compress_struct* out, FILE* file, uint32_t width,
                      uint32_t height, int quality, double x_dpi, double y_dpi) {
  out->image_width = width;
  out->image_height = height;
  out->input_components = 3;
  out->in_color_space = JCS_RGB;
  jpeg_set_defaults(out);
  jpeg_set_quality(out, quality, TRUE);
  out->dct_method = JDCT_ISLOW;
  out->optimize_coding = FALSE;
  out->smoothing_factor = 0;
  out->density_unit = 1;
  out->X_density = out->Y_density = 300;
  if (x_dpi >= 2 && y_dpi >= 2) {
    out->X_density = (UINT16)(x_dpi + 0.5);
    out->Y_density = (UINT16)(y_dpi + 0.5);
  }
  jpeg_stdio_dest(out, file);
  jpeg_start_compress(out, TRUE);
}

static void ConvertTiff(const char* source, struct jpeg_compress_struct* out, FILE* file,
                        int quality) {
  TIFF* tiff = TIFFOpen(source, "rm");
  if (tiff == NULL) Fail("cannot open the TIFF file");
  uint32_t width = 0, height = 0;
  uint16_t bits = 1, samples = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
  uint16_t unit = RESUNIT_INCH;
  float x_res = 0, y_res = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
  const int rgb = photometric == PHOTOMETRIC_RGB && samples == 3;
  const int grey = (photometric == PHOTOMETRIC_MINISBLACK ||
                    photometric == PHOTOMETRIC_MINISWHITE) && samples == 1;
  if (TIFFIsTiled(tiff) || planar != PLANARCONFIG_CONTIG || !(rgb || grey) ||
      !(bits == 16 || bits == 8 || (grey && bits == 1))) {
    Fail("not a layout of scanned pages");
  }
  if (TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x_res) &&
      TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y_res)) {
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_CENTIMETER) {
      x_res *= 2.54f;
      y_res *= 2.54f;
    } else if (unit != RESUNIT_INCH) {
      x_res = y_res = 0;
    }
  }
  StartJpeg(out, file, width, height, quality, x_res, y_res);

  const int white_is_zero = photometric == PHOTOMETRIC_MINISWHITE;
  unsigned char* raw = malloc((size_t)TIFFScanlineSize(tiff));
  unsigned char* band = malloc((size_t)width * 3 * kBandRows);
  JSAMPROW rows[kBandRows];
  for (int i = 0; i < kBandRows; ++i) rows[i] = band + (size_t)i * width * 3;
  for (uint32_t y = 0; y < height;) {
    const uint32_t n = height - y < kBandRows ? height - y : kBandRows;
    for (uint32_t i = 0; i < n; ++i, ++y) {
      unsigned char* p = rows[i];
      if (rgb && bits == 8) {
        if (TIFFReadScanline(tiff, p, y, 0) < 0) Fail("read error");
        continue;
      }
      if (TIFFReadScanline(tiff, raw, y, 0) < 0) Fail("read error");
      if (rgb) {
        const uint16_t* s = (const uint16_t*)raw;
        for (size_t k = 0; k < (size_t)width * 3; ++k) p[k] = To8(s[k]);
      } else {
        for (uint32_t x = 0; x < width; ++x) {
          unsigned g;
          if (bits == 1) {
            g = (raw[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
          } else if (bits == 8) {
            g = raw[x];
          } else {
            g = To8(((const uint16_t*)raw)[x]);
          }
          if (white_is_zero) g = 255 - g;
          p[3 * x] = p[3 * x + 1] = p[3 * x + 2] = (unsigned char)g;
        }
      }
    }
    jpeg_write_scanlines(out, rows, n);
  }
  free(band);
  free(raw);
  TIFFClose(tiff);
}

static void ConvertJpeg(const char* source, struct jpeg_compress_struct* out, FILE* file,
                        int quality) {
  FILE* in_file = fopen(source, "rb");
  if (in_file == NULL) Fail("cannot open the JPEG file");
  struct jpeg_decompress_struct in;
  struct jpeg_error_mgr errors;
  in.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&in);
  jpeg_stdio_src(&in, in_file);
  jpeg_read_header(&in, TRUE);
  if (in.jpeg_color_space != JCS_YCbCr) Fail("not a YCbCr JPEG file");
  in.out_color_space = JCS_RGB;
  in.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&in);
  double dpi_scale = in.density_unit == 1 ? 1 : in.density_unit == 2 ? 2.54 : 0;
  StartJpeg(out, file, in.output_width, in.output_height, quality, in.X_density * dpi_scale,
            in.Y_density * dpi_scale);
  unsigned char* band = malloc((size_t)in.output_width * 3 * kBandRows);
  JSAMPROW rows[kBandRows];
  for (int i = 0; i < kBandRows; ++i) rows[i] = band + (size_t)i * in.output_width * 3;
  while (in.output_scanline < in.output_height) {
    JDIMENSION n = 0;
    while (n < kBandRows && in.output_scanline < in.output_height) {
      n += jpeg_read_scanlines(&in, rows + n, kBandRows - n);
    }
    jpeg_write_scanlines(out, rows, n);
  }
  jpeg_finish_decompress(&in);
  jpeg_destroy_decompress(&in);
  free(band);
  fclose(in_file);
}

int main(int argc, char** argv) {
  int quality = 80;
  int first = 1;
  if (argc > 2 && strcmp(argv[1], "-q") == 0) {
    quality = atoi(argv[2]);
    first = 3;
  }
  if (argc != first + 2) {
    fputs("usage: shifrodel-bench-baseline [-q QUALITY] SOURCE DEST.jpg\n", stderr);
    return 2;
  }
  const char* source = argv[first];
  const size_t length = strlen(source);
  const int is_jpeg = length > 4 && (strcmp(source + length - 4, ".jpg") == 0 ||
                                     strcmp(source + length - 4, ".JPG") == 0);
  FILE* file = fopen(argv[first + 1], "wb");
  if (file == NULL) Fail("cannot create the output");
  struct jpeg_compress_struct out;
  struct jpeg_error_mgr errors;
  out.err = jpeg_std_error(&errors);
  jpeg_create_compress(&out);
  if (is_jpeg) {
    ConvertJpeg(source, &out, file, quality);
  } else {
    ConvertTiff(source, &out, file, quality);
  }
  jpeg_finish_compress(&out);
  jpeg_destroy_compress(&out);
  return fclose(file) == 0 ? 0 : 1;
}
