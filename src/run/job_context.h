// What every job works with: the process-wide run state, the window, the
// file system and the clock. The window, the console front end and the
// tests each put one together; the jobs use nothing else of the world.
#ifndef SHIFRODEL_RUN_JOB_CONTEXT_H_
#define SHIFRODEL_RUN_JOB_CONTEXT_H_

#include "platform/clock.h"
#include "platform/file_system.h"
#include "run/run_state.h"
#include "run/window_services.h"

namespace shifrodel {

struct JobContext {
  TRunState& state;
  WindowServices& window;
  FileSystem& fs;
  Clock& clock;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_JOB_CONTEXT_H_
