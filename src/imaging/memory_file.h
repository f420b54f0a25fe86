// A read-only File over bytes held in memory, so that a decoder can be fed
// from a buffer (the fuzz targets, the tests) exactly as from a disk file.
#ifndef SHIFRODEL_IMAGING_MEMORY_FILE_H_
#define SHIFRODEL_IMAGING_MEMORY_FILE_H_

#include <cstdint>
#include <string_view>

#include "platform/file_system.h"

namespace shifrodel {

class MemoryFile final : public File {
 public:
  // The bytes are not copied: they must outlive the file.
  explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}

  std::int64_t Read(void* buffer, std::size_t size) override;
  bool Write(const void*, std::size_t) override { return false; }
  std::int64_t Seek(std::int64_t offset, int origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
  bool Sync() override { return true; }
  bool Close() override { return true; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_IMAGING_MEMORY_FILE_H_
