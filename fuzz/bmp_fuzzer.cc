// Feeds arbitrary bytes to our BMP reader as a file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_budget.h"
#include "imaging/bmp_decoder.h"
#include "imaging/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shifrodel::MemoryFile file(std::string_view(reinterpret_cast<const char*>(data), size));
  if (auto decoder = shifrodel::OpenBmpDecoder(file)) shifrodel::DrainRows(*decoder);
  return 0;
}
