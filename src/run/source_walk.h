// The copy run's walk over the source tree: depth first, in the order the
// file system lists each folder, testing the stop flag before every entry.
// It never descends into a link to a folder (a link loop would never end),
// nor into the run's own destination or miscellaneous tree, so a run always
// ends and never converts its own output.
#ifndef SHIFRODEL_RUN_SOURCE_WALK_H_
#define SHIFRODEL_RUN_SOURCE_WALK_H_

#include <functional>
#include <string>

#include "run/job_context.h"

namespace shifrodel {

struct SourceWalkVisitor {
  // A file, by its path joined as folder + separator + name.
  std::function<void(const std::string& path)> file;
  // An entry whose name Windows-1251 cannot represent; `shown_path` has "?"
  // in place of what could not be written.
  std::function<void(const std::string& shown_path, bool is_folder)> unrepresentable;
};

void WalkSourceTree(JobContext& job, const std::string& folder, const SourceWalkVisitor& visit);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_SOURCE_WALK_H_
