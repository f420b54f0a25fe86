// The one record of the job under way, shared by the copy run, the file
// step, the free-space guard and the TIFF repack. It lives as long as the
// process and is never reset as a whole: each job resets what it starts from.
#ifndef SHIFRODEL_RUN_RUN_STATE_H_
#define SHIFRODEL_RUN_RUN_STATE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace shifrodel {

struct TRunState {
  bool StopRequested = false;
  // Lines the last copy run wrote to fp.log; a later repack reads it.
  std::int32_t ProblemCount = 0;
  // The run's folders, each with one trailing separator (an empty source
  // folder stays empty).
  std::string SourceRoot;
  std::string TargetRoot;
  std::string OtherRoot;
  // Free-space cache: megabytes, -1 when not measured in the current job.
  std::int32_t FreeSpaceMb = 0;
  // The last measurement failed (the system cannot measure the disk): the
  // guard then neither asks nor shows a figure.
  bool FreeSpaceUnknown = false;
  // Where the measured file system is mounted, which the low-space question
  // names on systems without drive letters.
  std::string FreeSpaceVolume;
  std::uint32_t LastSpaceCheck = 0;
  std::uint32_t LastLabelUpdate = 0;
  // fp.log, open for writing while a copy run lasts.
  std::unique_ptr<File> ProblemLog;
  // A line could not be written to fp.log; reported when the run has ended.
  bool ProblemLogFailed = false;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_RUN_STATE_H_
