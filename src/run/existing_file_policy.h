// What the file step does when a file already exists at the destination:
// leave it, ask, write the new file under a " (Копия N)" name, or replace it.
#ifndef SHIFRODEL_RUN_EXISTING_FILE_POLICY_H_
#define SHIFRODEL_RUN_EXISTING_FILE_POLICY_H_

#include <string>

#include "run/job_context.h"
#include "run/run_options.h"

namespace shifrodel {

enum class TPolicyDecision {
  kWrite,     // transfer the file to `destination`
  kKeep,      // leave the existing file as it is
  kIsSource,  // the destination is the source itself: a source tree holding
              // the run's own output, met again; it is never written over
};

// Decides what becomes of an existing destination; under efRename it changes
// `destination` to the first free copy name.
TPolicyDecision ApplyExistingFilePolicy(JobContext& job, const TRunOptions& options,
                                        const std::string& source, std::string* destination);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_EXISTING_FILE_POLICY_H_
