#include "imaging/image_fixtures.h"

#include <jpeglib.h>
#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace shifrodel::testing {
namespace {

// A growable file in memory for libtiff to write.
struct Buffer {
  std::string bytes;
  std::size_t position = 0;
};

tmsize_t BufferRead(thandle_t h, void* data, tmsize_t size) {
  auto* b = static_cast<Buffer*>(h);
  const std::size_t n =
      std::min<std::size_t>(size, b->bytes.size() - std::min(b->position, b->bytes.size()));
  std::memcpy(data, b->bytes.data() + b->position, n);
  b->position += n;
  return static_cast<tmsize_t>(n);
}

tmsize_t BufferWrite(thandle_t h, void* data, tmsize_t size) {
  auto* b = static_cast<Buffer*>(h);
  if (b->bytes.size() < b->position + size) b->bytes.resize(b->position + size);
  std::memcpy(b->bytes.data() + b->position, data, size);
  b->position += size;
  return size;
}

toff_t BufferSeek(thandle_t h, toff_t offset, int whence) {
  auto* b = static_cast<Buffer*>(h);
  const std::size_t base = whence == SEEK_SET   ? 0
                           : whence == SEEK_CUR ? b->position
                                                : b->bytes.size();
  b->position = base + offset;
  return b->position;
}

int BufferClose(thandle_t) { return 0; }
toff_t BufferSize(thandle_t h) { return static_cast<Buffer*>(h)->bytes.size(); }
int NoMap(thandle_t, void**, toff_t*) { return 0; }
void NoUnmap(thandle_t, void*, toff_t) {}

// Packs samples [first, first + count) of a row, `step` apart, at `bits` each.
void PackSamples(const TiffSpec& spec, std::uint32_t y, std::uint32_t x0, std::uint32_t pixels,
                 int first_sample, int samples_per_pixel, std::vector<std::uint8_t>& out) {
  const std::size_t count = std::size_t{pixels} * samples_per_pixel;
  out.assign((count * spec.bits + 7) / 8, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t x = x0 + static_cast<std::uint32_t>(i / samples_per_pixel);
    const int s = first_sample + static_cast<int>(i % samples_per_pixel);
    const std::uint32_t v = x < spec.width ? spec.sample(x, y, s) : 0;
    if (spec.bits == 16) {
      const std::uint16_t w = static_cast<std::uint16_t>(v);
      std::memcpy(out.data() + i * 2, &w, 2);
    } else if (spec.bits == 8) {
      out[i] = static_cast<std::uint8_t>(v);
    } else {
      const std::size_t bit = i * spec.bits;
      out[bit / 8] |= static_cast<std::uint8_t>(v << (8 - spec.bits - bit % 8));
    }
  }
}

}  // namespace

std::string MakeTiff(const TiffSpec& spec) {
  Buffer buffer;
  TIFF* tiff = TIFFClientOpen("fixture", "w", &buffer, BufferRead, BufferWrite, BufferSeek,
                              BufferClose, BufferSize, NoMap, NoUnmap);
  if (tiff == nullptr) throw std::runtime_error("TIFFClientOpen");
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, spec.width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, spec.height);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, spec.bits);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, spec.samples);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, spec.photometric);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, spec.compression);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, spec.planar);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, spec.orientation);
  if (spec.extra_sample != 0) {
    const std::uint16_t extra[] = {spec.extra_sample};
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
  }
  if (spec.x_resolution) TIFFSetField(tiff, TIFFTAG_XRESOLUTION, *spec.x_resolution);
  if (spec.y_resolution) TIFFSetField(tiff, TIFFTAG_YRESOLUTION, *spec.y_resolution);
  if (spec.x_resolution || spec.y_resolution) {
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, spec.resolution_unit);
  }
  if (!spec.icc_profile.empty()) {
    TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(spec.icc_profile.size()),
                 spec.icc_profile.data());
  }
  if (!spec.colormap.empty()) {
    const std::size_t n = spec.colormap.size() / 3;
    TIFFSetField(tiff, TIFFTAG_COLORMAP, spec.colormap.data(), spec.colormap.data() + n,
                 spec.colormap.data() + 2 * n);
  }
  if (spec.compression == COMPRESSION_JPEG && spec.photometric == PHOTOMETRIC_YCBCR) {
    TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  }
  const bool separate = spec.planar == PLANARCONFIG_SEPARATE;
  const int per_pixel = separate ? 1 : spec.samples;
  const int planes = separate ? spec.samples : 1;
  std::vector<std::uint8_t> row;
  if (spec.tile != 0) {
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, spec.tile);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, spec.tile);
    std::vector<std::uint8_t> tile;
    for (int plane = 0; plane < planes; ++plane) {
      for (std::uint32_t ty = 0; ty < spec.height; ty += spec.tile) {
        for (std::uint32_t tx = 0; tx < spec.width; tx += spec.tile) {
          tile.clear();
          for (std::uint32_t y = ty; y < ty + spec.tile; ++y) {
            PackSamples(spec, std::min(y, spec.height - 1), tx, spec.tile, plane, per_pixel, row);
            tile.insert(tile.end(), row.begin(), row.end());
          }
          TIFFWriteTile(tiff, tile.data(), tx, ty, 0, static_cast<std::uint16_t>(plane));
        }
      }
    }
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                 spec.rows_per_strip ? spec.rows_per_strip : TIFFDefaultStripSize(tiff, 0));
    for (int plane = 0; plane < planes; ++plane) {
      for (std::uint32_t y = 0; y < spec.height; ++y) {
        PackSamples(spec, y, 0, spec.width, plane, per_pixel, row);
        if (TIFFWriteScanline(tiff, row.data(), y, static_cast<std::uint16_t>(plane)) < 0) {
          throw std::runtime_error("TIFFWriteScanline");
        }
      }
    }
  }
  TIFFClose(tiff);
  return buffer.bytes;
}

std::string MakeJpeg(const JpegSpec& spec) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  jpeg_mem_dest(&info, &out, &out_size);
  info.image_width = spec.width;
  info.image_height = spec.height;
  info.input_components = spec.components;
  info.in_color_space = spec.components == 1   ? JCS_GRAYSCALE
                        : spec.components == 3 ? JCS_RGB
                                               : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, static_cast<J_COLOR_SPACE>(spec.coded_space));
  // JFIF would make readers take RGB data for YCbCr.
  info.write_JFIF_header = spec.coded_space != JCS_RGB;
  info.density_unit = static_cast<UINT8>(spec.density_unit);
  info.X_density = static_cast<UINT16>(spec.x_density);
  info.Y_density = static_cast<UINT16>(spec.y_density);
  if (spec.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  for (const auto& [marker, data] : spec.markers) {
    jpeg_write_marker(&info, marker, reinterpret_cast<const JOCTET*>(data.data()),
                      static_cast<unsigned>(data.size()));
  }
  std::vector<std::uint8_t> row(std::size_t{spec.width} * spec.components);
  while (info.next_scanline < info.image_height) {
    for (std::uint32_t x = 0; x < spec.width; ++x) {
      for (int c = 0; c < spec.components; ++c) {
        row[x * spec.components + c] = spec.sample(x, info.next_scanline, c);
      }
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), out_size);
  std::free(out);
  return bytes;
}

std::string FakeIccProfile(const char space[4], std::size_t filler) {
  std::string profile(128 + filler, '\0');
  const std::uint32_t size = static_cast<std::uint32_t>(profile.size());
  for (int i = 0; i < 4; ++i) profile[i] = static_cast<char>(size >> (24 - 8 * i));
  std::memcpy(&profile[12], "mntr", 4);
  std::memcpy(&profile[16], space, 4);
  std::memcpy(&profile[36], "acsp", 4);
  for (std::size_t i = 128; i < profile.size(); ++i) profile[i] = static_cast<char>(i * 7);
  return profile;
}

std::vector<JpegSegment> ReadJpegSegments(const std::string& jpeg) {
  std::vector<JpegSegment> segments;
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[at]) == 0xFF) {
    const int marker = static_cast<std::uint8_t>(jpeg[at + 1]);
    const std::size_t length =
        static_cast<std::uint8_t>(jpeg[at + 2]) * 256 + static_cast<std::uint8_t>(jpeg[at + 3]);
    segments.push_back({marker, jpeg.substr(at + 4, length - 2)});
    if (marker == 0xDA) break;
    at += 2 + length;
  }
  return segments;
}

JpegFrame ReadJpegFrame(const std::string& jpeg) {
  JpegFrame frame;
  for (const JpegSegment& s : ReadJpegSegments(jpeg)) {
    const auto byte = [&s](std::size_t i) { return static_cast<std::uint8_t>(s.payload.at(i)); };
    if (s.marker == 0xC0 || s.marker == 0xC1 || s.marker == 0xC2) {
      frame.sof_marker = s.marker;
      frame.height = byte(1) * 256 + byte(2);
      frame.width = byte(3) * 256 + byte(4);
      for (int c = 0; c < byte(5); ++c) {
        frame.sampling.emplace_back(byte(7 + 3 * c) >> 4, byte(7 + 3 * c) & 15);
      }
    } else if (s.marker == 0xE0 && s.payload.compare(0, 5, std::string("JFIF\0", 5)) == 0) {
      frame.jfif_unit = byte(7);
      frame.x_density = byte(8) * 256 + byte(9);
      frame.y_density = byte(10) * 256 + byte(11);
    } else if (s.marker == 0xEE && s.payload.compare(0, 5, "Adobe") == 0) {
      frame.adobe = true;
    } else if (s.marker == 0xE2 &&
               s.payload.compare(0, 12, std::string("ICC_PROFILE\0", 12)) == 0) {
      frame.icc_profile += s.payload.substr(14);
      frame.metadata.push_back(s);
    } else if ((s.marker >= 0xE0 && s.marker <= 0xEF) || s.marker == 0xFE) {
      frame.metadata.push_back(s);
    }
  }
  return frame;
}

DecodedImage DecodeJpeg(const std::string& jpeg) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  DecodedImage image;
  image.width = info.output_width;
  image.height = info.output_height;
  image.components = info.output_components;
  image.pixels.resize(std::size_t{image.width} * image.height * image.components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW p =
        image.pixels.data() + std::size_t{info.output_scanline} * image.width * image.components;
    jpeg_read_scanlines(&info, &p, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return image;
}

}  // namespace shifrodel::testing
