// Which coming files a copy run converts ahead: those the file step will
// most likely convert, judged by the options as they stand now. A wrong
// guess costs only work (the bytes are dropped, or the file step converts
// the file itself), never a different result.
#ifndef SHIFRODEL_RUN_CONVERT_AHEAD_H_
#define SHIFRODEL_RUN_CONVERT_AHEAD_H_

#include "run/job_context.h"
#include "run/lookahead_converter.h"
#include "run/run_options.h"
#include "run/source_walk.h"

namespace shifrodel {

// Queues coming files of the walk on `ahead` while it can take more.
// Runs on the main thread, which alone reads the options.
void ConvertAhead(JobContext& job, const TRunOptions& options, int quality, SourceWalk& walk,
                  LookaheadConverter& ahead);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_CONVERT_AHEAD_H_
