// What became of one TIFF file in a repack, for callers that report every
// file (the console's --verbose). The window shows none of it.
#ifndef SHIFRODEL_REPACK_REPACK_OUTCOME_H_
#define SHIFRODEL_REPACK_REPACK_OUTCOME_H_

#include <cstdint>
#include <functional>
#include <string>

namespace shifrodel {

enum class TRepackResult {
  kReplaced,  // the LZW version was smaller and took the file's place
  kKept,      // the LZW version was not smaller; the file stays as it was
  kLeft,      // the file was not re-encoded, or its new version was refused
};

struct TRepackOutcome {
  std::string path;  // Windows-1251, as the walk built it
  TRepackResult result = TRepackResult::kLeft;
  // Byte sizes of the file and of its LZW version (replaced and kept only).
  std::int64_t old_size = 0;
  std::int64_t new_size = 0;
  // Why the file was left (kLeft only), in plain English.
  std::string reason;
};

using RepackOutcomeFn = std::function<void(const TRepackOutcome&)>;

}  // namespace shifrodel

#endif  // SHIFRODEL_REPACK_REPACK_OUTCOME_H_
