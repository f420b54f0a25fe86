// shifrodel-batch free PATH: the free megabytes of the disk that holds PATH
// and, on a second line, the free-space label the window would show for it.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "run/free_space_guard.h"

namespace shifrodel::cli {

int RunFree(const Arguments& args) {
  if (args.size() != 1) {
    std::fputs("usage: shifrodel-batch free PATH\n", stderr);
    return kExitBadArguments;
  }
  const std::optional<std::int32_t> mb = DiskFreeMb(NativeFileSystem(), args[0]);
  PrintLine(stdout, mb ? std::to_string(*mb) : std::string("-"));
  PrintLine(stdout, FreeSpaceLabelText(mb));
  return mb ? 0 : 1;
}

}  // namespace shifrodel::cli
