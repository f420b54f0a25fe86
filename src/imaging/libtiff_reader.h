// libtiff over one of our File objects, for reading: the re-encoder reads
// its source and the file it wrote through it. libtiff's messages are kept
// for the caller instead of being printed, and the file is never mapped into
// memory, so reading a large scan costs little more than one strip of it.
#ifndef SHIFRODEL_IMAGING_LIBTIFF_READER_H_
#define SHIFRODEL_IMAGING_LIBTIFF_READER_H_

#include <tiffio.h>

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace shifrodel {

class LibtiffReader {
 public:
  // nullptr when libtiff refuses the file; *why then holds its message.
  static std::unique_ptr<LibtiffReader> Open(File& file, std::string* why);
  ~LibtiffReader();
  LibtiffReader(const LibtiffReader&) = delete;
  LibtiffReader& operator=(const LibtiffReader&) = delete;

  TIFF* tiff() const { return tiff_; }
  // The first error libtiff reported since the last call, or `fallback`.
  std::string TakeError(const std::string& fallback);

 private:
  LibtiffReader() = default;
  static int OnError(TIFF*, void* user, const char* module, const char* format, va_list args);
  static int OnWarning(TIFF*, void* user, const char* module, const char* format, va_list args);

  TIFF* tiff_ = nullptr;
  std::string error_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_LIBTIFF_READER_H_
