// One TIFF file's turn in the repack: it is re-encoded with LZW into the
// temporary file beside it (its name with "_" appended), which takes its
// place, with its last-write time, only when it is smaller and proves to
// hold everything the file held. Whatever happens, the file is left intact
// and no temporary file is left behind.
#ifndef SHIFRODEL_REPACK_REPACK_FILE_H_
#define SHIFRODEL_REPACK_REPACK_FILE_H_

#include <string>

#include "repack/repack_outcome.h"
#include "run/job_context.h"

namespace shifrodel {

// Repacks the file at `path`, whose name is `name`. Shows the name in the
// status line, and the name with "..." while the file is being written, and
// lets the window handle its messages before each.
TRepackOutcome RepackTiffFile(JobContext& job, const std::string& path, const std::string& name);

}  // namespace shifrodel

#endif  // SHIFRODEL_REPACK_REPACK_FILE_H_
