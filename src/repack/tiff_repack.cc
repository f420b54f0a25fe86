#include "repack/tiff_repack.h"

#include "repack/repack_file.h"
#include "run/free_space_guard.h"
#include "text/case_tables.h"
#include "text/cp1251_literal.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

bool IsTiffName(std::string_view name) {
  const std::string ext = LowerCase(ExtractFileExt(name));
  return ext == ".tif" || ext == ".tiff";
}

// Walks one folder, and every folder below it, in the order the file system
// lists them; every file passes the free-space guard, every TIFF file is
// repacked. Returns at once when the stop flag is set.
void RepackFolder(JobContext& job, const std::string& folder, const RepackOutcomeFn& on_file) {
  const auto entries = job.fs.ListFolder(folder);
  if (!entries) return;
  for (const DirEntry& entry : *entries) {
    if (job.state.StopRequested) return;
    if (entry.kind == EntryKind::kFolder) {
      if (entry.name_ok) RepackFolder(job, folder + entry.name + PathDelim(), on_file);
      continue;
    }
    if (entry.kind != EntryKind::kFile) continue;
    const std::string path = folder + entry.name;
    RefreshFreeSpace(job, path);
    if (!GuardFreeSpace(job, path, TGuardActivity::gaRepack)) return;
    if (!IsTiffName(entry.name)) continue;
    TRepackOutcome outcome;
    if (entry.name_ok) {
      outcome = RepackTiffFile(job, path, entry.name);
    } else {
      outcome.path = path;
      outcome.reason = "its name has characters outside Windows-1251";
    }
    if (on_file) on_file(outcome);
  }
}

}  // namespace

void RunRepack(JobContext& job, const TRepackOptions& options) {
  job.state.StopRequested = false;
  std::string folder = options.SourceFolder;
  if (!folder.empty() && folder.back() != PathDelim()) folder += PathDelim();
  ResetFreeSpaceCache(job);
  job.window.SetBusyPointer(true);
  job.window.SetJobState(TJobState::kRepack);

  RepackFolder(job, folder, options.OnFileDone);

  job.window.SetBusyPointer(false);
  job.window.SetJobState(TJobState::kIdle);
  const bool stopped = job.state.StopRequested;
  job.window.SetStatus(stopped ? "Прервано."_cp1251 : "Готово."_cp1251);
  job.window.SetTaskTitle("Шифродел"_cp1251);
  if (!stopped && options.ExitAfterRun() &&
      (job.state.ProblemCount == 0 || !options.ExitOnlyIfNoProblems())) {
    job.window.Close();
  }
}

}  // namespace shifrodel
