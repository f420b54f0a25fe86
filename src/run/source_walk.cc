#include "run/source_walk.h"

#include "text/path_rules.h"

namespace shifrodel {
namespace {

// True for the destination or miscellaneous folder of the run.
bool IsOutputTree(JobContext& job, const std::string& folder) {
  const std::optional<std::string> canonical = job.fs.CanonicalPath(folder);
  if (!canonical) return false;
  for (const std::string* root : {&job.state.TargetRoot, &job.state.OtherRoot}) {
    if (root->empty()) continue;
    if (job.fs.CanonicalPath(*root) == canonical) return true;
  }
  return false;
}

}  // namespace

void WalkSourceTree(JobContext& job, const std::string& folder, const SourceWalkVisitor& visit) {
  const std::optional<std::vector<DirEntry>> entries = job.fs.ListFolder(folder);
  if (!entries) return;
  for (const DirEntry& entry : *entries) {
    if (job.state.StopRequested) return;
    const std::string path = JoinPath(folder, entry.name);
    if (!entry.name_ok) {
      if (entry.kind != EntryKind::kOther) {
        visit.unrepresentable(path, entry.kind == EntryKind::kFolder);
      }
      continue;
    }
    switch (entry.kind) {
      case EntryKind::kFolder:
        if (!IsOutputTree(job, path)) WalkSourceTree(job, path, visit);
        break;
      case EntryKind::kLink:
        // A link to a file is walked as that file; a link to a folder is not.
        if (job.fs.FileExists(path)) visit.file(path);
        break;
      case EntryKind::kFile:
        visit.file(path);
        break;
      case EntryKind::kOther:  // devices, pipes: reading one could hang the run
        break;
    }
  }
}

}  // namespace shifrodel
