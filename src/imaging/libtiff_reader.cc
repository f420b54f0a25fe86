#include "imaging/libtiff_reader.h"

#include <cstdarg>
#include <cstdio>

namespace shifrodel {
namespace {

// No single allocation of libtiff may exceed this; a damaged count that asks
// for more fails instead of exhausting memory.
constexpr tmsize_t kMaxSingleAllocation = tmsize_t{1} << 30;

File& AsFile(thandle_t handle) { return *static_cast<File*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  auto* p = static_cast<char*>(buffer);
  tmsize_t done = 0;
  while (done < size) {
    const std::int64_t n = AsFile(handle).Read(p + done, static_cast<std::size_t>(size - done));
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += static_cast<tmsize_t>(n);
  }
  return done;
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return -1; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  const std::int64_t position = AsFile(handle).Seek(static_cast<std::int64_t>(offset), whence);
  return position < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(position);
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t handle) {
  const std::int64_t size = AsFile(handle).Size();
  return size < 0 ? 0 : static_cast<toff_t>(size);
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

}  // namespace

int LibtiffReader::OnError(TIFF*, void* user, const char* module, const char* format,
                           va_list args) {
  auto* self = static_cast<LibtiffReader*>(user);
  if (self->error_.empty()) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    self->error_ = module != nullptr && *module != '\0' ? std::string(module) + ": " + text : text;
  }
  return 1;
}

int LibtiffReader::OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

std::unique_ptr<LibtiffReader> LibtiffReader::Open(File& file, std::string* why) {
  std::unique_ptr<LibtiffReader> reader(new LibtiffReader);
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options, &LibtiffReader::OnError, reader.get());
  TIFFOpenOptionsSetWarningHandlerExtR(options, &LibtiffReader::OnWarning, reader.get());
  file.Seek(0, SEEK_SET);
  reader->tiff_ = TIFFClientOpenExt("tiff", "rm", &file, ReadProc, WriteProc, SeekProc, CloseProc,
                                    SizeProc, MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  if (reader->tiff_ == nullptr) {
    if (why != nullptr) *why = reader->TakeError("libtiff cannot read it");
    return nullptr;
  }
  return reader;
}

LibtiffReader::~LibtiffReader() {
  if (tiff_ != nullptr) TIFFClose(tiff_);
}

std::string LibtiffReader::TakeError(const std::string& fallback) {
  std::string text = error_.empty() ? fallback : error_;
  error_.clear();
  return text;
}

}  // namespace shifrodel
