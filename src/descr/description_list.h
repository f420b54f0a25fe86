// The per-folder description list "descript.ion": one line per described
// file, its name and a free text. SetFileDescription adds a file's line or
// replaces the one already there; every other byte of the list stays as it
// was, and the list is replaced in one atomic step, so a failed write never
// costs the other files their lines.
#ifndef SHIFRODEL_DESCR_DESCRIPTION_LIST_H_
#define SHIFRODEL_DESCR_DESCRIPTION_LIST_H_

#include <string>

#include "platform/file_system.h"

namespace shifrodel {

// `path` is the described file's full path, `description` a non-empty text
// without CR or LF (both Windows-1251). Reports nothing.
void SetFileDescription(FileSystem& fs, const std::string& path, const std::string& description);

}  // namespace shifrodel

#endif  // SHIFRODEL_DESCR_DESCRIPTION_LIST_H_
