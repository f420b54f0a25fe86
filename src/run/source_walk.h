// The copy run's walk over the source tree: depth first, in the order the
// file system lists each folder. It is a cursor: the run takes one entry at
// a time (testing its stop flag before each), and may look further ahead to
// convert coming files early. It never descends into a link to a folder (a
// link loop would never end), nor into the run's own destination or
// miscellaneous tree, so a run always ends and never converts its own output.
#ifndef SHIFRODEL_RUN_SOURCE_WALK_H_
#define SHIFRODEL_RUN_SOURCE_WALK_H_

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "run/job_context.h"

namespace shifrodel {

struct WalkEntry {
  enum Kind {
    kFile,
    // A file whose name Windows-1251 cannot represent; its path has "?" in
    // place of what could not be written.
    kUnrepresentableFile,
    // A folder the walk passes over, and the run must say so: its name
    // cannot be represented (the path has "?" as above), or it exists but
    // cannot be listed (no permission, a failing medium).
    kPassedOverFolder,
  };
  Kind kind = kFile;
  std::string path;  // folder + separator + name
};

class SourceWalk {
 public:
  // The roots in `job.state` name the output trees to leave out.
  SourceWalk(JobContext& job, const std::string& folder);

  // The next entry, or nullopt after the last.
  std::optional<WalkEntry> Next();
  // The entry `ahead` places after the next one (0: the next one) without
  // taking it, or null when the walk ends before it.
  const WalkEntry* Peek(std::size_t ahead);

 private:
  struct Level {
    std::string folder;
    std::vector<DirEntry> entries;
    std::size_t next = 0;
  };

  // Finds one more entry for `ahead_`; false at the end of the walk.
  bool Advance();
  // Starts walking `folder`; false when it exists but cannot be listed,
  // which puts a kPassedOverFolder entry into `ahead_`.
  bool Enter(const std::string& folder);
  bool IsOutputTree(const std::string& folder);

  JobContext& job_;
  std::vector<Level> levels_;
  std::deque<WalkEntry> ahead_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_SOURCE_WALK_H_
