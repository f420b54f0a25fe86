#include "imaging/tiff_file.h"

#include <cstdarg>
#include <cstring>

namespace shifrodel {
namespace {

File& FileOf(thandle_t handle) { return *static_cast<File*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  auto* out = static_cast<char*>(buffer);
  tmsize_t done = 0;
  while (done < size) {
    const std::int64_t got = FileOf(handle).Read(out + done, static_cast<std::size_t>(size - done));
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<tmsize_t>(got);
  }
  return done;
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekProc(thandle_t handle, toff_t offset, int origin) {
  if (offset > static_cast<toff_t>(INT64_MAX)) return static_cast<toff_t>(-1);
  const std::int64_t position = FileOf(handle).Seek(static_cast<std::int64_t>(offset), origin);
  return position < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(position);
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t handle) {
  const std::int64_t size = FileOf(handle).Size();
  return size < 0 ? 0 : static_cast<toff_t>(size);
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

// Warnings that mean the file's structure is broken rather than merely
// unusual: a directory chain that loops, strip sizes that do not fit the
// image, a sample count that contradicts the colour model.
bool IsStructuralWarning(const char* message) {
  static constexpr const char* kPhrases[] = {"looping", "Bogus", "doesn't match SamplesPerPixel"};
  for (const char* phrase : kPhrases) {
    if (std::strstr(message, phrase) != nullptr) return true;
  }
  return false;
}

}  // namespace

int TiffFile::OnError(TIFF*, void* self, const char* module, const char* format, va_list args) {
  auto* file = static_cast<TiffFile*>(self);
  file->failed_ = true;
  if (file->error_.empty()) {
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    file->error_ =
        module != nullptr && *module != '\0' ? std::string(module) + ": " + message : message;
  }
  return 1;
}

int TiffFile::OnWarning(TIFF*, void* self, const char*, const char* format, va_list args) {
  char message[512];
  std::vsnprintf(message, sizeof message, format, args);
  if (IsStructuralWarning(message)) static_cast<TiffFile*>(self)->failed_ = true;
  return 1;
}

std::unique_ptr<TiffFile> TiffFile::Open(File& file, std::string* error) {
  file.Seek(0, SEEK_SET);  // libtiff reads the header from where the file stands
  std::unique_ptr<TiffFile> self(new TiffFile);
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) return nullptr;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, self.get());
  TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, self.get());
  self->tiff_ = TIFFClientOpenExt("image", "rm", &file, ReadProc, WriteProc, SeekProc, CloseProc,
                                  SizeProc, MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  // Walking the chain of directories finds a loop; the current one stays.
  if (self->tiff_ != nullptr && !self->failed_) TIFFNumberOfDirectories(self->tiff_);
  if (self->tiff_ == nullptr || self->failed_) {
    if (error != nullptr) *error = self->Error("libtiff cannot read it or finds it broken");
    return nullptr;
  }
  return self;
}

TiffFile::~TiffFile() {
  if (tiff_ != nullptr) TIFFClose(tiff_);
}

TiffImageFacts ReadTiffImageFacts(TIFF* tiff) {
  TiffImageFacts facts;
  float x = 0;
  float y = 0;
  std::uint16_t unit = RESUNIT_INCH;
  if (TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) && TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y)) {
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_INCH) {
      facts.x_dpi = x;
      facts.y_dpi = y;
    } else if (unit == RESUNIT_CENTIMETER) {
      facts.x_dpi = x * 2.54;
      facts.y_dpi = y * 2.54;
    }
  }
  std::uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  if (orientation >= 1 && orientation <= 8) facts.orientation = orientation;
  std::uint32_t icc_size = 0;
  void* icc = nullptr;
  if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &icc_size, &icc) && icc != nullptr) {
    facts.icc_profile.assign(static_cast<const char*>(icc), icc_size);
  }
  return facts;
}

}  // namespace shifrodel
