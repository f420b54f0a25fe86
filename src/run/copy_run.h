// The copy run: checks the destination folders, fixes the JPEG quality for
// the whole run, opens the problem log fp.log, walks the source tree handing
// every file to the file step, and reports "Готово." or "Прервано." with the
// number of problems.
#ifndef SHIFRODEL_RUN_COPY_RUN_H_
#define SHIFRODEL_RUN_COPY_RUN_H_

#include "imaging/image_layer.h"
#include "run/job_context.h"
#include "run/run_options.h"

namespace shifrodel {

// How a run ended: refused before the walk (a folder missing, fp.log not
// created), finished, or stopped by the user.
enum class TRunOutcome { kRefused, kFinished, kStopped };

// The whole run, from the checks to the final caption and the exit after the
// run. Returns when the window is idle again. With more than one worker,
// coming files are converted ahead on that many threads; what the run asks,
// writes and records is the same as with one.
TRunOutcome RunCopy(JobContext& job, ImageLayer& image, const TRunOptions& options,
                    int workers = 1);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_COPY_RUN_H_
