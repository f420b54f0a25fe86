// shifrodel-batch cipher NAME...: the cipher of each file name, one line per
// name: fund, inventory, case file, sheet and tail, separated by tabs.
#include "cipher/cipher.h"
#include "cli/arguments.h"
#include "cli/commands.h"

namespace shifrodel::cli {

int RunCipher(const Arguments& args) {
  if (args.empty()) {
    std::fputs("usage: shifrodel-batch cipher NAME...\n", stderr);
    return kExitBadArguments;
  }
  for (const std::string& name : args) {
    const TCipher c = ParseCipher(name);
    PrintLine(stdout,
              c.Fund + '\t' + c.Inventory + '\t' + c.CaseFile + '\t' + c.Sheet + '\t' + c.Tail);
  }
  return 0;
}

}  // namespace shifrodel::cli
