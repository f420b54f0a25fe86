// Where the copy run writes a source file: a file with a cipher goes into the
// archive tree (fund, inventory and case-file folders under the destination
// root) under a normalised name; a file without one goes into the
// miscellaneous tree, which mirrors the source tree. Computes text only.
#ifndef SHIFRODEL_CIPHER_TARGET_PATH_H_
#define SHIFRODEL_CIPHER_TARGET_PATH_H_

#include <optional>
#include <string>
#include <string_view>

#include "cipher/cipher.h"

namespace shifrodel {

// The run's three roots, each ending with the separator.
struct TargetRoots {
  std::string_view source;
  std::string_view target;
  std::string_view other;
};

// The destination path (always ending in ".jpg"), or nullopt when the file
// has no cipher and copying such files is off.
std::optional<std::string> BuildTargetPath(std::string_view source_path, const TargetRoots& roots,
                                           bool copy_other);

// The archive folder levels and the file name for a cipher with a fund.
std::string ArchiveFolder(const TCipher& cipher);
std::string ArchiveFileName(const TCipher& cipher);

}  // namespace shifrodel

#endif  // SHIFRODEL_CIPHER_TARGET_PATH_H_
