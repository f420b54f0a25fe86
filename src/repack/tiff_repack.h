// The TIFF repack: walks the source tree and re-saves every TIFF file in
// place with LZW compression. The new version takes the file's place only
// when it is smaller and holds everything the file held, and it keeps the
// file's last-write time, so the archive's scans keep their dates.
#ifndef SHIFRODEL_REPACK_TIFF_REPACK_H_
#define SHIFRODEL_REPACK_TIFF_REPACK_H_

#include <string>

#include "repack/repack_outcome.h"
#include "run/job_context.h"
#include "run/run_options.h"

namespace shifrodel {

struct TRepackOptions {
  // The text of the source folder field, taken at the start (Windows-1251).
  std::string SourceFolder;
  // The two exit check boxes, read when the repack has ended.
  LiveField<bool> ExitAfterRun = FixedField(false);
  LiveField<bool> ExitOnlyIfNoProblems = FixedField(true);
  // Told what became of every TIFF file; may be empty.
  RepackOutcomeFn OnFileDone;
};

// The whole repack, from clearing the stop flag to the final caption and the
// exit after finish. Returns when the window is idle again.
void RunRepack(JobContext& job, const TRepackOptions& options);

}  // namespace shifrodel

#endif  // SHIFRODEL_REPACK_TIFF_REPACK_H_
