// The directories of a TIFF file as they are stored: for every entry its
// tag, type, count and where the bytes of its value lie in the file, so that
// a re-encoded file can carry every tag byte for byte, and be compared with
// its original the same way, without the program having to understand them.
#ifndef SHIFRODEL_IMAGING_TIFF_IFD_H_
#define SHIFRODEL_IMAGING_TIFF_IFD_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel {

// Tag numbers the re-encoder itself has to know.
enum TiffTag : std::uint16_t {
  kTagNewSubfileType = 254,
  kTagImageWidth = 256,
  kTagCompression = 259,
  kTagPhotometric = 262,
  kTagFillOrder = 266,
  kTagStripOffsets = 273,
  kTagRowsPerStrip = 278,
  kTagStripByteCounts = 279,
  kTagFreeOffsets = 288,
  kTagFreeByteCounts = 289,
  kTagT4Options = 292,
  kTagT6Options = 293,
  kTagPredictor = 317,
  kTagTileWidth = 322,
  kTagTileLength = 323,
  kTagTileOffsets = 324,
  kTagTileByteCounts = 325,
  kTagSubIfds = 330,
  kTagGlobalParametersIfd = 400,
  kTagJpegInterchangeFormat = 513,
  kTagJpegInterchangeFormatLength = 514,
  kTagJpegQTables = 519,
  kTagJpegDcTables = 520,
  kTagJpegAcTables = 521,
  kTagImageDepth = 32997,
  kTagExifIfd = 34665,
  kTagGpsIfd = 34853,
  kTagMakerNote = 37500,
  kTagInteroperabilityIfd = 40965,
};

// Field types (TIFF 6.0 and BigTIFF).
enum TiffType : std::uint16_t {
  kTypeShort = 3,
  kTypeLong = 4,
  kTypeIfd = 13,
  kTypeLong8 = 16,
  kTypeIfd8 = 18,
};

// Bytes of one value of a field type; 0 for a type this program does not know.
int TiffTypeSize(std::uint16_t type);

struct TiffEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint64_t count = 0;
  // Where the value's bytes lie in the file: inside the entry itself when
  // they fit there. value_size is count times the type's size.
  std::uint64_t value_offset = 0;
  std::uint64_t value_size = 0;
  // For the EXIF, GPS and Interoperability pointers: the index of the
  // directory pointed to in TiffLayout::subdirectories; -1 otherwise.
  int subdirectory = -1;
};

struct TiffIfd {
  std::uint64_t offset = 0;
  std::vector<TiffEntry> entries;  // in the order stored
  std::uint64_t next = 0;          // the next directory's offset, 0 at the end

  const TiffEntry* Find(std::uint16_t tag) const;
};

struct TiffLayout {
  bool big_endian = false;
  bool bigtiff = false;
  std::uint64_t file_size = 0;
  std::vector<TiffIfd> pages;           // the main chain, in order
  std::vector<TiffIfd> subdirectories;  // EXIF, GPS and Interoperability directories
};

// Reads the header, every directory of the main chain and the EXIF, GPS and
// Interoperability directories they point to. Fails, saying why, for a file
// that is not a TIFF file, a chain that loops, or a directory or a value
// that does not lie inside the file.
std::optional<TiffLayout> ReadTiffLayout(File& file, std::string* why);

// The index-th value of an entry of an unsigned integer type (BYTE, SHORT,
// LONG, LONG8, IFD, IFD8), or nullopt.
std::optional<std::uint64_t> ReadTiffUint(File& file, const TiffLayout& layout,
                                          const TiffEntry& entry, std::uint64_t index = 0);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_IFD_H_
