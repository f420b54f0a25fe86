// The run's three roots, each with one trailing separator, from the folder
// fields as entered (an empty source field stays empty).
#ifndef SHIFRODEL_RUN_RUN_ROOTS_H_
#define SHIFRODEL_RUN_RUN_ROOTS_H_

#include <string>

#include "run/run_options.h"
#include "run/run_state.h"

namespace shifrodel {

bool EndsWithPathDelim(const std::string& text);

void SetRunRoots(TRunState& state, const TRunOptions& options);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_RUN_ROOTS_H_
