#include "run/copy_plan.h"

#include "cipher/target_path.h"
#include "run/file_step.h"
#include "run/run_roots.h"
#include "run/source_walk.h"

namespace shifrodel {

int PlanCopy(
    JobContext& job, const TRunOptions& options,
    const std::function<void(const std::string& source, const std::string& destination)>& planned) {
  SetRunRoots(job.state, options);
  job.state.StopRequested = false;
  const TargetRoots roots{job.state.SourceRoot, job.state.TargetRoot, job.state.OtherRoot};
  int count = 0;
  SourceWalk walk(job, options.SourceFolder);
  while (const std::optional<WalkEntry> entry = walk.Next()) {
    if (entry->kind != WalkEntry::kFile) continue;
    const std::optional<std::string> destination =
        BuildTargetPath(entry->path, roots, options.CopyOther());
    if (!destination || !IsAcceptedSource(entry->path)) continue;
    ++count;
    planned(entry->path, *destination);
  }
  return count;
}

}  // namespace shifrodel
