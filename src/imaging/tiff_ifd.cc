#include "imaging/tiff_ifd.h"

#include <cstdio>
#include <set>

#include "imaging/file_bytes.h"
#include "imaging/tiff_byte_order.h"

namespace shifrodel {
namespace {

// Far more than any real file has; a damaged count stops here.
constexpr std::uint64_t kMaxEntries = 4096;
constexpr std::size_t kMaxPages = 65536;

std::string TagText(std::uint16_t tag) { return "tag " + std::to_string(tag); }

class LayoutReader {
 public:
  LayoutReader(File& file, TiffLayout& layout, std::string* why)
      : file_(file), layout_(layout), order_(layout.big_endian), why_(why) {}

  // Reads the directory at `offset` with the directories it points to.
  bool ReadIfd(std::uint64_t offset, bool in_main_chain, TiffIfd* ifd) {
    if (!visited_.insert(offset).second) return Fail("the directories point back to each other");
    const int count_size = layout_.bigtiff ? 8 : 2;
    const int entry_size = layout_.bigtiff ? 20 : 12;
    const int field_size = layout_.bigtiff ? 8 : 4;
    std::uint8_t head[8];
    if (offset < 8 || !ReadAt(file_, offset, head, count_size)) {
      return Fail("a directory lies outside the file");
    }
    const std::uint64_t count = order_.Get(head, count_size);
    if (count > kMaxEntries) return Fail("a directory holds " + std::to_string(count) + " entries");
    const std::uint64_t table_size = count * entry_size + field_size;
    if (offset + count_size + table_size > layout_.file_size) {
      return Fail("a directory runs past the end of the file");
    }
    std::vector<std::uint8_t> table(table_size);
    if (!ReadAt(file_, offset + count_size, table.data(), table.size())) {
      return Fail("a directory cannot be read");
    }
    ifd->offset = offset;
    ifd->next = order_.Get(table.data() + count * entry_size, field_size);
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint8_t* raw = table.data() + i * entry_size;
      TiffEntry entry;
      entry.tag = order_.Get16(raw);
      entry.type = order_.Get16(raw + 2);
      entry.count = order_.Get(raw + 4, field_size);
      const int type_size = TiffTypeSize(entry.type);
      const std::uint64_t field_offset = offset + count_size + i * entry_size + 4 + field_size;
      if (type_size == 0) {
        // A value of unknown size cannot be located; the caller refuses it.
        entry.value_offset = field_offset;
      } else {
        if (entry.count > layout_.file_size) {
          return Fail("the value of " + TagText(entry.tag) + " lies outside the file");
        }
        entry.value_size = entry.count * static_cast<std::uint64_t>(type_size);
        entry.value_offset = entry.value_size <= static_cast<std::uint64_t>(field_size)
                                 ? field_offset
                                 : order_.Get(raw + 4 + field_size, field_size);
        if (entry.value_offset > layout_.file_size ||
            entry.value_size > layout_.file_size - entry.value_offset) {
          return Fail("the value of " + TagText(entry.tag) + " lies outside the file");
        }
      }
      ifd->entries.push_back(entry);
    }
    for (TiffEntry& entry : ifd->entries) {
      const bool pointer = in_main_chain ? entry.tag == kTagExifIfd || entry.tag == kTagGpsIfd
                                         : entry.tag == kTagInteroperabilityIfd;
      if (!pointer || entry.count != 1) continue;
      const auto target = ReadTiffUint(file_, layout_, entry);
      if (!target) continue;  // not an integer: the caller refuses it
      TiffIfd sub;
      if (!ReadIfd(*target, false, &sub)) return false;
      entry.subdirectory = static_cast<int>(layout_.subdirectories.size());
      layout_.subdirectories.push_back(std::move(sub));
    }
    return true;
  }

  bool Fail(const std::string& text) {
    if (why_ != nullptr) *why_ = text;
    return false;
  }

 private:
  File& file_;
  TiffLayout& layout_;
  TiffByteOrder order_;
  std::string* why_;
  std::set<std::uint64_t> visited_;
};

}  // namespace

int TiffTypeSize(std::uint16_t type) {
  switch (type) {
    case 1:  // BYTE
    case 2:  // ASCII
    case 6:  // SBYTE
    case 7:  // UNDEFINED
      return 1;
    case 3:  // SHORT
    case 8:  // SSHORT
      return 2;
    case 4:   // LONG
    case 9:   // SLONG
    case 11:  // FLOAT
    case 13:  // IFD
      return 4;
    case 5:   // RATIONAL
    case 10:  // SRATIONAL
    case 12:  // DOUBLE
    case 16:  // LONG8
    case 17:  // SLONG8
    case 18:  // IFD8
      return 8;
    default:
      return 0;
  }
}

const TiffEntry* TiffIfd::Find(std::uint16_t tag) const {
  for (const TiffEntry& e : entries) {
    if (e.tag == tag) return &e;
  }
  return nullptr;
}

std::optional<std::uint64_t> ReadTiffUint(File& file, const TiffLayout& layout,
                                          const TiffEntry& entry, std::uint64_t index) {
  int size;
  switch (entry.type) {
    case 1:
      size = 1;
      break;
    case kTypeShort:
      size = 2;
      break;
    case kTypeLong:
    case kTypeIfd:
      size = 4;
      break;
    case kTypeLong8:
    case kTypeIfd8:
      size = 8;
      break;
    default:
      return std::nullopt;
  }
  if (index >= entry.count) return std::nullopt;
  std::uint8_t raw[8];
  if (!ReadAt(file, entry.value_offset + index * size, raw, size)) return std::nullopt;
  return TiffByteOrder(layout.big_endian).Get(raw, size);
}

std::optional<TiffLayout> ReadTiffLayout(File& file, std::string* why) {
  const std::int64_t size = file.Size();
  std::uint8_t header[16];
  if (size < 8 || !ReadAt(file, 0, header, 8)) {
    if (why != nullptr) *why = "not a TIFF file";
    return std::nullopt;
  }
  TiffLayout layout;
  layout.file_size = static_cast<std::uint64_t>(size);
  if (header[0] == 'I' && header[1] == 'I') {
    layout.big_endian = false;
  } else if (header[0] == 'M' && header[1] == 'M') {
    layout.big_endian = true;
  } else {
    if (why != nullptr) *why = "not a TIFF file";
    return std::nullopt;
  }
  const TiffByteOrder order(layout.big_endian);
  const std::uint16_t version = order.Get16(header + 2);
  std::uint64_t first;
  if (version == 42) {
    first = order.Get32(header + 4);
  } else if (version == 43 && size >= 16 && ReadAt(file, 0, header, 16) &&
             order.Get16(header + 4) == 8 && order.Get16(header + 6) == 0) {
    layout.bigtiff = true;
    first = order.Get64(header + 8);
  } else {
    if (why != nullptr) *why = "not a TIFF file";
    return std::nullopt;
  }

  LayoutReader reader(file, layout, why);
  for (std::uint64_t offset = first; offset != 0;) {
    if (layout.pages.size() == kMaxPages) {
      reader.Fail("more than " + std::to_string(kMaxPages) + " pages");
      return std::nullopt;
    }
    TiffIfd page;
    if (!reader.ReadIfd(offset, true, &page)) return std::nullopt;
    offset = page.next;
    layout.pages.push_back(std::move(page));
  }
  if (layout.pages.empty()) {
    if (why != nullptr) *why = "the file holds no page";
    return std::nullopt;
  }
  return layout;
}

}  // namespace shifrodel
