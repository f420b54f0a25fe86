#include "run/run_roots.h"

#include "text/path_rules.h"

namespace shifrodel {

bool EndsWithPathDelim(const std::string& text) {
  return !text.empty() && text.back() == PathDelim();
}

void SetRunRoots(TRunState& state, const TRunOptions& options) {
  state.SourceRoot = options.SourceFolder;
  if (!state.SourceRoot.empty() && !EndsWithPathDelim(state.SourceRoot)) {
    state.SourceRoot += PathDelim();
  }
  state.TargetRoot = options.TargetFolder;
  if (!EndsWithPathDelim(state.TargetRoot)) state.TargetRoot += PathDelim();
  state.OtherRoot = options.OtherFolder;
  if (!EndsWithPathDelim(state.OtherRoot)) state.OtherRoot += PathDelim();
}

}  // namespace shifrodel
