#include "imaging/tiff_reencoder.h"

#include <cerrno>
#include <cstring>

#include "imaging/tiff_compare.h"
#include "imaging/tiff_file.h"
#include "imaging/tiff_ifd.h"
#include "imaging/tiff_ifd_writer.h"
#include "imaging/tiff_page_encoder.h"
#include "imaging/tiff_page_plan.h"

namespace shifrodel {
namespace {

std::string ErrorText(int os_error) {
  return os_error != 0 ? std::string(": ") + std::strerror(os_error) : std::string();
}

TiffOutEntry NewEntry(std::uint16_t tag, std::uint16_t type, std::uint64_t count) {
  TiffOutEntry entry;
  entry.tag = tag;
  entry.type = type;
  entry.count = count;
  return entry;
}

// A new entry of one value of `type`, in the writer's byte order.
TiffOutEntry NumberEntry(const TiffIfdWriter& writer, std::uint16_t tag, std::uint16_t type,
                         std::uint64_t value) {
  TiffOutEntry entry = NewEntry(tag, type, 1);
  entry.bytes.resize(TiffTypeSize(type));
  writer.order().Put(reinterpret_cast<std::uint8_t*>(entry.bytes.data()), value,
                     static_cast<int>(entry.bytes.size()));
  return entry;
}

TiffOutEntry ArrayEntry(const TiffIfdWriter& writer, std::uint16_t tag,
                        const std::vector<std::uint64_t>& values) {
  const std::uint16_t type = writer.bigtiff() ? kTypeLong8 : kTypeLong;
  const int size = TiffTypeSize(type);
  TiffOutEntry entry = NewEntry(tag, type, values.size());
  entry.bytes.resize(values.size() * size);
  auto* p = reinterpret_cast<std::uint8_t*>(entry.bytes.data());
  for (std::size_t i = 0; i < values.size(); ++i) writer.order().Put(p + i * size, values[i], size);
  return entry;
}

}  // namespace

struct TiffReencoder::Source {
  std::unique_ptr<File> file;
  TiffLayout layout;
  std::unique_ptr<TiffFile> reader;
  std::vector<TiffPagePlan> plans;
  std::vector<std::uint64_t> digests;

  // Writes a directory that a page points to (EXIF, GPS), with those it
  // points to itself, and returns its offset.
  bool WriteSubdirectory(TiffIfdWriter& writer, int index, std::uint64_t* offset) {
    std::vector<TiffOutEntry> entries;
    if (!CarriedEntries(writer, layout.subdirectories[index], false, &entries)) return false;
    std::uint64_t next_field;
    return writer.WriteIfd(std::move(entries), offset, &next_field);
  }

  // The entries of a directory as they go into the new file: copied byte for
  // byte, the encoding tags of a page left out, pointers to directories
  // pointing to their new copies.
  bool CarriedEntries(TiffIfdWriter& writer, const TiffIfd& ifd, bool is_page,
                      std::vector<TiffOutEntry>* entries) {
    for (const TiffEntry& e : ifd.entries) {
      if (is_page && IsEncodingTag(e.tag)) continue;
      if (e.subdirectory >= 0) {
        std::uint64_t offset;
        if (!WriteSubdirectory(writer, e.subdirectory, &offset)) return false;
        const int size = TiffTypeSize(e.type);
        if (size == 4 && offset > 0xFFFFFFFFull) return false;
        TiffOutEntry pointer = NewEntry(e.tag, e.type, 1);
        pointer.bytes.resize(size);
        writer.order().Put(reinterpret_cast<std::uint8_t*>(pointer.bytes.data()), offset, size);
        entries->push_back(std::move(pointer));
        continue;
      }
      TiffOutEntry copied = NewEntry(e.tag, e.type, e.count);
      copied.source = file.get();
      copied.source_offset = e.value_offset;
      copied.size = e.value_size;
      entries->push_back(std::move(copied));
    }
    return true;
  }
};

TiffReencoder::TiffReencoder(FileSystem& fs) : fs_(fs) {}
TiffReencoder::~TiffReencoder() = default;

bool TiffReencoder::Fail(std::string text) {
  why_ = std::move(text);
  return false;
}

bool TiffReencoder::Open(const std::string& path) {
  source_.reset();
  auto source = std::make_unique<Source>();
  int os_error = 0;
  source->file = fs_.OpenRead(path, &os_error);
  if (source->file == nullptr) return Fail("it cannot be opened" + ErrorText(os_error));
  auto layout = ReadTiffLayout(*source->file, &why_);
  if (!layout) return false;
  source->layout = std::move(*layout);
  source->reader = TiffFile::Open(*source->file, &why_);
  if (source->reader == nullptr) return false;

  TIFF* tiff = source->reader->tiff();
  const std::size_t pages = source->layout.pages.size();
  for (std::size_t p = 0; p < pages; ++p) {
    if (p > 0 && TIFFReadDirectory(tiff) != 1) {
      return Fail(source->reader->Error("libtiff reads only " + std::to_string(p) + " of its " +
                                        std::to_string(pages) + " pages"));
    }
    if (source->reader->failed()) {
      return Fail(source->reader->Error("libtiff finds page " + std::to_string(p + 1) + " broken"));
    }
    const TiffIfd& page = source->layout.pages[p];
    if (!CheckEntriesCarriable(*source->file, source->layout, page, true, &why_)) return false;
    auto plan = PlanTiffPage(tiff, *source->file, source->layout, page, &why_);
    if (!plan) return false;
    source->plans.push_back(*plan);
  }
  if (TIFFReadDirectory(tiff) == 1)
    return Fail("libtiff finds more pages than its directory chain");
  source_ = std::move(source);
  return true;
}

bool TiffReencoder::Write(const std::string& target) {
  created_ = false;
  if (source_ == nullptr) return Fail("no source is open");
  int os_error = 0;
  std::unique_ptr<File> out = fs_.CreateWrite(target, &os_error);
  if (out == nullptr) return Fail("the temporary file cannot be created" + ErrorText(os_error));
  created_ = true;

  Source& source = *source_;
  TIFF* tiff = source.reader->tiff();
  TiffIfdWriter writer(*out, source.layout.big_endian, source.layout.bigtiff);
  if (!writer.WriteHeader()) return Fail("the temporary file cannot be written");
  std::uint64_t link = writer.FirstIfdField();
  source.digests.clear();
  for (std::size_t p = 0; p < source.plans.size(); ++p) {
    if (TIFFSetDirectory(tiff, static_cast<tdir_t>(p)) != 1 || source.reader->failed()) {
      return Fail(source.reader->Error("page " + std::to_string(p + 1) + " cannot be read"));
    }
    const TiffPagePlan& plan = source.plans[p];
    TiffEncodedPage encoded;
    if (!EncodeTiffPage(*source.reader, plan, writer, &encoded, &why_)) return false;
    source.digests.push_back(encoded.digest);

    std::vector<TiffOutEntry> entries;
    if (!source.CarriedEntries(writer, source.layout.pages[p], true, &entries)) {
      return Fail("the temporary file cannot be written");
    }
    entries.push_back(NumberEntry(writer, kTagCompression, kTypeShort, COMPRESSION_LZW));
    if (plan.samples.predictor != TiffPredictor::kNone) {
      entries.push_back(NumberEntry(writer, kTagPredictor, kTypeShort,
                                    static_cast<std::uint16_t>(plan.samples.predictor)));
    }
    if (plan.tiled) {
      entries.push_back(ArrayEntry(writer, kTagTileOffsets, encoded.offsets));
      entries.push_back(ArrayEntry(writer, kTagTileByteCounts, encoded.byte_counts));
    } else {
      entries.push_back(NumberEntry(writer, kTagRowsPerStrip, kTypeLong, plan.rows_per_strip));
      entries.push_back(ArrayEntry(writer, kTagStripOffsets, encoded.offsets));
      entries.push_back(ArrayEntry(writer, kTagStripByteCounts, encoded.byte_counts));
    }
    std::uint64_t ifd_offset, next_field;
    if (!writer.WriteIfd(std::move(entries), &ifd_offset, &next_field) ||
        !writer.PatchOffset(link, ifd_offset)) {
      return Fail("the temporary file cannot be written");
    }
    link = next_field;
  }
  if (!writer.Flush() || !out->Close()) return Fail("the temporary file cannot be written");
  return true;
}

void TiffReencoder::Close() { source_.reset(); }

std::uint64_t TiffReencoder::source_size() const {
  return source_ != nullptr ? source_->layout.file_size : 0;
}

bool TiffReencoder::Verify(const std::string& target) {
  if (source_ == nullptr || source_->digests.size() != source_->plans.size()) {
    return Fail("nothing was written to compare");
  }
  int os_error = 0;
  std::unique_ptr<File> copy = fs_.OpenRead(target, &os_error);
  if (copy == nullptr) return Fail("the temporary file cannot be read back" + ErrorText(os_error));
  return CompareTiffCopy(*source_->file, source_->layout, source_->plans, source_->digests, *copy,
                         &why_);
}

}  // namespace shifrodel
