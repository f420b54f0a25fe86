// shifrodel-batch copy: the copy run of the window, on a console.
//   copy [--quality TEXT] [--existing leave|ask|rename|rewrite] [--jpeg convert|copy]
//        [--no-other] [--prefix TEXT] [--jobs N] [--dry-run] SOURCE DEST [OTHER]
// Exit status: 0 finished without problems, 1 finished with problems,
// 2 stopped, 3 refused before the walk, 4 wrong usage.
#include <cstring>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_window.h"
#include "cli/interrupt.h"
#include "imaging/file_jpeg_converter.h"
#include "imaging/image_layer.h"
#include "run/copy_plan.h"
#include "run/copy_run.h"
#include "run/default_workers.h"
#include "text/cp1251_literal.h"
#include "text/int_text.h"
#include "text/trim.h"

namespace shifrodel::cli {
namespace {

constexpr int kExitFinished = 0;
constexpr int kExitProblems = 1;
constexpr int kExitStopped = 2;
constexpr int kExitRefused = 3;

constexpr char kUsage[] =
    "usage: shifrodel-batch copy [--quality TEXT] [--existing leave|ask|rename|rewrite]\n"
    "                            [--jpeg convert|copy] [--no-other] [--prefix TEXT] [--jobs N]\n"
    "                            [--dry-run]\n"
    "                            SOURCE DEST [OTHER]\n";

struct CopyArguments {
  TRunOptions options;
  bool dry_run = false;
  int jobs = DefaultWorkers();
};

int Usage(const char* problem) {
  std::fprintf(stderr, "shifrodel-batch copy: %s\n%s", problem, kUsage);
  return kExitCopyUsage;
}

bool ParsePolicy(const std::string& text, TExistingFilePolicy* policy) {
  if (text == "leave")
    *policy = TExistingFilePolicy::efLeave;
  else if (text == "ask")
    *policy = TExistingFilePolicy::efAsk;
  else if (text == "rename")
    *policy = TExistingFilePolicy::efRename;
  else if (text == "rewrite")
    *policy = TExistingFilePolicy::efRewrite;
  else
    return false;
  return true;
}

// Returns 0, or the exit status of a usage error (after printing it).
int Parse(const Arguments& args, CopyArguments* out) {
  TRunOptions& o = out->options;
  o.QualityText = "75%";
  bool copy_other = true;
  TExistingFilePolicy policy = TExistingFilePolicy::efRewrite;
  TJpegHandling handling = TJpegHandling::jhConvert;
  std::string prefix;
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--quality" || a == "--existing" || a == "--jpeg" || a == "--prefix" ||
        a == "--jobs") {
      if (!has_value) return Usage((a + " needs a value").c_str());
      const std::string& value = args[++i];
      if (a == "--quality") {
        o.QualityText = value;
      } else if (a == "--existing") {
        if (!ParsePolicy(value, &policy))
          return Usage("--existing takes leave, ask, rename or rewrite");
      } else if (a == "--jpeg") {
        if (value == "convert")
          handling = TJpegHandling::jhConvert;
        else if (value == "copy")
          handling = TJpegHandling::jhCopy;
        else
          return Usage("--jpeg takes convert or copy");
      } else if (a == "--jobs") {
        out->jobs = IntTextOr(value, 0);
        if (out->jobs < 1 || out->jobs > 256) return Usage("--jobs takes a number from 1 to 256");
      } else {
        prefix = value;
      }
    } else if (a == "--no-other") {
      copy_other = false;
    } else if (a == "--dry-run") {
      out->dry_run = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return Usage(("unknown option " + a).c_str());
    } else {
      folders.push_back(a);
    }
  }
  const std::size_t needed = copy_other ? 3 : 2;
  if (folders.size() < needed) {
    return Usage(copy_other ? "SOURCE, DEST and OTHER are needed (or --no-other)"
                            : "SOURCE and DEST are needed");
  }
  if (folders.size() > 3) return Usage("too many folders");
  o.SourceFolder = folders[0];
  o.TargetFolder = folders[1];
  if (folders.size() > 2) o.OtherFolder = folders[2];
  o.CopyOther = FixedField(copy_other);
  o.ExistingFiles = FixedField(policy);
  o.JpegHandling = FixedField(handling);
  o.DescriptionPrefix = FixedField(prefix);
  return 0;
}

int DryRun(JobContext& job, const TRunOptions& options) {
  if (Trim(options.SourceFolder).empty()) {
    PrintLine(stdout, "Выберите папку для обработки"_cp1251);
    return kExitRefused;
  }
  const int count = PlanCopy(job, options, [](const std::string& source, const std::string& dest) {
    PrintLine(stdout, source + '\t' + dest);
  });
  PrintLine(stdout, "Найдено файлов: "_cp1251 + std::to_string(count));
  return kExitFinished;
}

}  // namespace

int RunCopyCommand(const Arguments& args) {
  CopyArguments parsed;
  if (const int usage = Parse(args, &parsed); usage != 0) return usage;

  TRunState state;
  ConsoleWindow window(stdin, stderr);
  JobContext job{state, window, NativeFileSystem(), SystemClock()};
  if (parsed.dry_run) return DryRun(job, parsed.options);

  InstallInterruptHandler();
  window.OnInterrupt([&state] { state.StopRequested = true; });
  FileJpegConverter converter(job.fs);
  ImageLayer image(job.fs, converter);
  const TRunOutcome outcome = RunCopy(job, image, parsed.options, parsed.jobs);
  window.EndProgressLine();
  PrintLine(stdout, window.Status());
  switch (outcome) {
    case TRunOutcome::kRefused:
      return kExitRefused;
    case TRunOutcome::kStopped:
      return kExitStopped;
    case TRunOutcome::kFinished:
      return state.ProblemCount > 0 ? kExitProblems : kExitFinished;
  }
  return kExitFinished;
}

}  // namespace shifrodel::cli
