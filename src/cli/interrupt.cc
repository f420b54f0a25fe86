#include "cli/interrupt.h"

#include <csignal>

namespace shifrodel::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
  interrupted = 1;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void InstallInterruptHandler() { std::signal(SIGINT, OnInterrupt); }

bool InterruptRequested() { return interrupted != 0; }

}  // namespace shifrodel::cli
