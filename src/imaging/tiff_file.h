// A TIFF file opened through libtiff over our File, read only and without
// memory mapping (a mapped page would count fully in the process's memory).
// libtiff's messages go to this object instead of the console: an error,
// or a warning that the file's structure is broken, marks the file failed.
#ifndef SHIFRODEL_IMAGING_TIFF_FILE_H_
#define SHIFRODEL_IMAGING_TIFF_FILE_H_

#include <tiffio.h>

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace shifrodel {

class TiffFile {
 public:
  // Opens the file, from its start, at its first image; nullptr when it is not a TIFF file
  // or its first directory cannot be read, or the chain of directories
  // loops back on itself. `error`, when given, then gets libtiff's message.
  static std::unique_ptr<TiffFile> Open(File& file, std::string* error = nullptr);
  ~TiffFile();
  TiffFile(const TiffFile&) = delete;
  TiffFile& operator=(const TiffFile&) = delete;

  TIFF* tiff() const { return tiff_; }
  // True once libtiff has reported an error or a broken structure.
  bool failed() const { return failed_; }
  // libtiff's first error message, or `fallback` when it has reported none.
  std::string Error(const std::string& fallback) const {
    return error_.empty() ? fallback : error_;
  }

  // The largest single block libtiff may allocate for this file.
  static constexpr std::int64_t kMaxAllocation = std::int64_t{256} << 20;

 private:
  TiffFile() = default;
  static int OnError(TIFF*, void* self, const char* module, const char* format, va_list args);
  static int OnWarning(TIFF*, void* self, const char* module, const char* format, va_list args);

  TIFF* tiff_ = nullptr;
  bool failed_ = false;
  std::string error_;
};

// The first image's resolution in dots per inch (0 when it has none), its
// orientation (1 to 8) and its ICC profile.
struct TiffImageFacts {
  double x_dpi = 0;
  double y_dpi = 0;
  int orientation = 1;
  std::string icc_profile;
};
TiffImageFacts ReadTiffImageFacts(TIFF* tiff);

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_TIFF_FILE_H_
