// shifrodel-batch describe FILE DESCRIPTION: sets FILE's line in the
// descript.ion of its folder, as the copy run does for every file it places.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "descr/description_list.h"

namespace shifrodel::cli {

int RunDescribe(const Arguments& args) {
  if (args.size() != 2 || args[1].empty() || args[1].find_first_of("\r\n") != std::string::npos) {
    std::fputs("usage: shifrodel-batch describe FILE DESCRIPTION (one line, not empty)\n", stderr);
    return kExitBadArguments;
  }
  SetFileDescription(NativeFileSystem(), args[0], args[1]);
  return 0;
}

}  // namespace shifrodel::cli
