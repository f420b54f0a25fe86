// What the file step does when a file already exists at the destination:
// leave it, ask, write the new file under a " (Копия N)" name, or replace it.
#ifndef SHIFRODEL_RUN_EXISTING_FILE_POLICY_H_
#define SHIFRODEL_RUN_EXISTING_FILE_POLICY_H_

#include <string>

#include "run/job_context.h"
#include "run/run_options.h"

namespace shifrodel {

// Returns whether the file is to be transferred; under efRename it changes
// `destination` to the first free copy name. A destination that is the
// source itself (a source tree holding the run's own output) is never
// written over.
bool ApplyExistingFilePolicy(JobContext& job, const TRunOptions& options, const std::string& source,
                             std::string* destination);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_EXISTING_FILE_POLICY_H_
