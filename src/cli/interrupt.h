// Ctrl-C during a job: the first press asks the job to stop at its next
// entry, as the window's Stop button does; a second press ends the process.
#ifndef SHIFRODEL_CLI_INTERRUPT_H_
#define SHIFRODEL_CLI_INTERRUPT_H_

namespace shifrodel::cli {

void InstallInterruptHandler();
bool InterruptRequested();

}  // namespace shifrodel::cli

#endif  // SHIFRODEL_CLI_INTERRUPT_H_
