#include "run/source_walk.h"

#include "text/path_rules.h"

namespace shifrodel {

SourceWalk::SourceWalk(JobContext& job, const std::string& folder) : job_(job) { Enter(folder); }

bool SourceWalk::Enter(const std::string& folder) {
  std::optional<std::vector<DirEntry>> entries = job_.fs.ListFolder(folder);
  if (!entries) {
    // A folder that is not there (a source folder mistyped, a folder removed
    // meanwhile) has nothing to pass over.
    if (!job_.fs.FolderExists(folder)) return true;
    ahead_.push_back({WalkEntry::kPassedOverFolder, folder});
    return false;
  }
  levels_.push_back({folder, std::move(*entries), 0});
  return true;
}

bool SourceWalk::IsOutputTree(const std::string& folder) {
  const std::optional<std::string> canonical = job_.fs.CanonicalPath(folder);
  if (!canonical) return false;
  for (const std::string* root : {&job_.state.TargetRoot, &job_.state.OtherRoot}) {
    if (!root->empty() && job_.fs.CanonicalPath(*root) == canonical) return true;
  }
  return false;
}

bool SourceWalk::Advance() {
  while (!levels_.empty()) {
    Level& level = levels_.back();
    if (level.next == level.entries.size()) {
      levels_.pop_back();
      continue;
    }
    const DirEntry& entry = level.entries[level.next++];
    std::string path = JoinPath(level.folder, entry.name);
    if (!entry.name_ok) {
      if (entry.kind == EntryKind::kOther) continue;
      ahead_.push_back({entry.kind == EntryKind::kFolder ? WalkEntry::kPassedOverFolder
                                                         : WalkEntry::kUnrepresentableFile,
                        std::move(path)});
      return true;
    }
    switch (entry.kind) {
      case EntryKind::kFolder:
        if (!IsOutputTree(path) && !Enter(path)) return true;  // may invalidate `level`
        continue;
      case EntryKind::kLink:
        // A link to a file is walked as that file; a link to a folder is not.
        if (!job_.fs.FileExists(path)) continue;
        break;
      case EntryKind::kFile:
        break;
      case EntryKind::kOther:  // devices, pipes: reading one could hang the run
        continue;
    }
    ahead_.push_back({WalkEntry::kFile, std::move(path)});
    return true;
  }
  return false;
}

std::optional<WalkEntry> SourceWalk::Next() {
  if (ahead_.empty() && !Advance()) return std::nullopt;
  WalkEntry entry = std::move(ahead_.front());
  ahead_.pop_front();
  return entry;
}

const WalkEntry* SourceWalk::Peek(std::size_t ahead) {
  while (ahead_.size() <= ahead) {
    if (!Advance()) return nullptr;
  }
  return &ahead_[ahead];
}

}  // namespace shifrodel
