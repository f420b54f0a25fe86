// The commands of shifrodel-batch. Each takes its arguments (Windows-1251,
// without the command's name) and returns the process's exit status.
#ifndef SHIFRODEL_CLI_COMMANDS_H_
#define SHIFRODEL_CLI_COMMANDS_H_

#include <string>
#include <vector>

#include "cli/arguments.h"

namespace shifrodel::cli {

using Arguments = std::vector<std::string>;

struct Command {
  const char* name;
  const char* usage;    // the arguments, as shown by --help
  const char* summary;  // one line
  int (*run)(const Arguments& args);
  // The exit status when an argument has no Windows-1251 form.
  int bad_arguments_status = kExitBadArguments;
};

// Exit status of copy and repack for wrong usage.
inline constexpr int kExitCopyUsage = 4;

int RunCipher(const Arguments& args);
int RunPlace(const Arguments& args);
int RunDescribe(const Arguments& args);
int RunFree(const Arguments& args);
int RunCopyCommand(const Arguments& args);
int RunConvert(const Arguments& args);
int RunRepackCommand(const Arguments& args);

}  // namespace shifrodel::cli

#endif  // SHIFRODEL_CLI_COMMANDS_H_
