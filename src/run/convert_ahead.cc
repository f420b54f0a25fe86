#include "run/convert_ahead.h"

#include "cipher/target_path.h"
#include "run/file_step.h"

namespace shifrodel {
namespace {

// How far ahead of the current file the walk is searched for files to take.
constexpr std::size_t kSearchAhead = 64;

bool WorthConverting(JobContext& job, const TRunOptions& options, const std::string& path) {
  if (!IsAcceptedSource(path)) return false;
  if (options.JpegHandling() == TJpegHandling::jhCopy && IsJpegSource(path)) return false;
  const TargetRoots roots{job.state.SourceRoot, job.state.TargetRoot, job.state.OtherRoot};
  const std::optional<std::string> destination = BuildTargetPath(path, roots, options.CopyOther());
  if (!destination) return false;
  return options.ExistingFiles() != TExistingFilePolicy::efLeave ||
         !job.fs.FileExists(*destination);
}

}  // namespace

void ConvertAhead(JobContext& job, const TRunOptions& options, int quality, SourceWalk& walk,
                  LookaheadConverter& ahead) {
  for (std::size_t i = 0; i < kSearchAhead && ahead.CanTakeMore(); ++i) {
    const WalkEntry* entry = walk.Peek(i);
    if (entry == nullptr) return;
    if (entry->kind == WalkEntry::kFile && !ahead.Holds(entry->path) &&
        WorthConverting(job, options, entry->path)) {
      ahead.Prefetch(entry->path, quality);
    }
  }
}

}  // namespace shifrodel
