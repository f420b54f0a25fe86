// shifrodel-batch place [--no-other] SOURCE_ROOT TARGET_ROOT OTHER_ROOT PATH...:
// where the copy run would write each file, or "-" when it gets no
// destination. The roots are taken verbatim: the caller ends them with the
// separator.
#include "cipher/target_path.h"
#include "cli/arguments.h"
#include "cli/commands.h"

namespace shifrodel::cli {

int RunPlace(const Arguments& args) {
  std::size_t first = 0;
  bool copy_other = true;
  if (!args.empty() && args[0] == "--no-other") {
    copy_other = false;
    first = 1;
  }
  if (args.size() < first + 4) {
    std::fputs(
        "usage: shifrodel-batch place [--no-other] SOURCE_ROOT TARGET_ROOT OTHER_ROOT PATH...\n",
        stderr);
    return kExitBadArguments;
  }
  const TargetRoots roots{args[first], args[first + 1], args[first + 2]};
  for (std::size_t i = first + 3; i < args.size(); ++i) {
    PrintLine(stdout, BuildTargetPath(args[i], roots, copy_other).value_or("-"));
  }
  return 0;
}

}  // namespace shifrodel::cli
