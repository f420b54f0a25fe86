// shifrodel-batch repack: the TIFF repack of the window, on a console.
//   repack [--verbose] FOLDER
// With --verbose, one line per TIFF file: its path, a tab, and "replaced
// OLD -> NEW", "kept OLD -> NEW" (sizes in bytes) or "left: REASON". The
// last line is the window's final caption.
// Exit status: 0 finished, 2 stopped, 4 wrong usage.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_window.h"
#include "cli/interrupt.h"
#include "repack/tiff_repack.h"

namespace shifrodel::cli {
namespace {

constexpr int kExitFinished = 0;
constexpr int kExitStopped = 2;

int Usage(const char* problem) {
  std::fprintf(stderr,
               "shifrodel-batch repack: %s\nusage: shifrodel-batch repack [--verbose] FOLDER\n",
               problem);
  return kExitCopyUsage;
}

std::string Describe(const TRepackOutcome& o) {
  const std::string sizes = std::to_string(o.old_size) + " -> " + std::to_string(o.new_size);
  switch (o.result) {
    case TRepackResult::kReplaced:
      return "replaced " + sizes;
    case TRepackResult::kKept:
      return "kept " + sizes;
    case TRepackResult::kLeft:
      break;
  }
  return "left: " + o.reason;
}

}  // namespace

int RunRepackCommand(const Arguments& args) {
  bool verbose = false;
  std::vector<std::string> folders;
  for (const std::string& a : args) {
    if (a == "--verbose") {
      verbose = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return Usage(("unknown option " + a).c_str());
    } else {
      folders.push_back(a);
    }
  }
  if (folders.size() != 1) return Usage("one FOLDER is needed");

  TRunState state;
  ConsoleWindow window(stdin, stderr);
  JobContext job{state, window, NativeFileSystem(), SystemClock()};
  InstallInterruptHandler();
  window.OnInterrupt([&state] { state.StopRequested = true; });
  TRepackOptions options;
  options.SourceFolder = folders[0];
  if (verbose) {
    options.OnFileDone = [&window](const TRepackOutcome& o) {
      window.EndProgressLine();
      PrintLine(stdout, o.path + '\t' + Describe(o));
    };
  }
  RunRepack(job, options);
  window.EndProgressLine();
  PrintLine(stdout, window.Status());
  return state.StopRequested ? kExitStopped : kExitFinished;
}

}  // namespace shifrodel::cli
