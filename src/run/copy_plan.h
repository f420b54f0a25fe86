// A copy run that only looks: walks the source tree as the run would and
// names, for every file it would transfer, the destination it would get
// before the existing-file policy. Writes nothing.
#ifndef SHIFRODEL_RUN_COPY_PLAN_H_
#define SHIFRODEL_RUN_COPY_PLAN_H_

#include <functional>
#include <string>

#include "run/job_context.h"
#include "run/run_options.h"

namespace shifrodel {

// Calls `planned(source, destination)` for every such file, in the walk's
// order; returns how many there were.
int PlanCopy(
    JobContext& job, const TRunOptions& options,
    const std::function<void(const std::string& source, const std::string& destination)>& planned);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_COPY_PLAN_H_
