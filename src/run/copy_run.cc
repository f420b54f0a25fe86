#include "run/copy_run.h"

#include "run/convert_ahead.h"
#include "run/file_step.h"
#include "run/free_space_guard.h"
#include "run/lookahead_converter.h"
#include "run/problem_log.h"
#include "run/quality_text.h"
#include "run/run_roots.h"
#include "run/source_walk.h"
#include "text/cp1251_literal.h"
#include "text/path_rules.h"
#include "text/trim.h"

namespace shifrodel {
namespace {

// A destination folder that exists or could be created.
bool PrepareFolder(JobContext& job, const std::string& folder) {
  const std::string d = EndsWithPathDelim(folder) ? folder.substr(0, folder.size() - 1) : folder;
  if (d.empty()) return false;
  if (!job.fs.FolderExists(d)) job.fs.ForceFolders(d);
  return job.fs.FolderExists(d);
}

TRunOutcome Refuse(JobContext& job, const std::string& caption, TFolderField field) {
  job.window.SetStatus(caption);
  job.window.MarkField(field);
  return TRunOutcome::kRefused;
}

void ExitAfterRun(JobContext& job, const TRunOptions& options) {
  if (job.state.StopRequested || !options.ExitAfterRun()) return;
  if (job.state.ProblemCount == 0 ||
      (job.state.ProblemCount > 0 && !options.ExitOnlyIfNoProblems())) {
    job.window.Close();
  }
}

// The walk, handing every file to the file step; with several workers the
// coming files are converted ahead while the file step works.
void WalkAndProcess(JobContext& job, ImageLayer& image, const TRunOptions& options, int workers) {
  std::optional<LookaheadConverter> ahead;
  JpegConverter& own = image.converter();
  if (workers > 1) {
    ahead.emplace(own, workers);
    image.set_converter(*ahead);
  }
  SourceWalk walk(job, options.SourceFolder);
  while (!job.state.StopRequested) {
    const std::optional<WalkEntry> entry = walk.Next();
    if (!entry) break;
    if (ahead) ConvertAhead(job, options, image.JpegQuality(), walk, *ahead);
    if (entry->kind != WalkEntry::kPassedOverFolder) job.window.PumpMessages();
    if (entry->kind == WalkEntry::kFile) {
      ProcessFile(job, image, options, entry->path);
      if (ahead) ahead->Discard(entry->path);  // not needed after all
    } else if (entry->kind == WalkEntry::kPassedOverFolder || IsAcceptedSource(entry->path)) {
      // Never converted under a mangled name, never deleted: the user is
      // told which file or folder was passed over.
      LogProblem(job, entry->path, "");
    }
  }
  image.set_converter(own);
}

}  // namespace

TRunOutcome RunCopy(JobContext& job, ImageLayer& image, const TRunOptions& options, int workers) {
  if (Trim(options.SourceFolder).empty()) {
    return Refuse(job, "Выберите папку для обработки"_cp1251, TFolderField::kSource);
  }
  if (!PrepareFolder(job, options.TargetFolder)) {
    return Refuse(job, "Выберите результирующую папку"_cp1251, TFolderField::kTarget);
  }
  if (options.CopyOther() && !PrepareFolder(job, options.OtherFolder)) {
    return Refuse(job, "Выберите результирующую папку \"Разное\""_cp1251, TFolderField::kOther);
  }
  const int quality = ParseQuality(options.QualityText);
  job.window.SetQualityText(std::to_string(quality) + "%");
  image.SetJpegQuality(quality);
  if (const int error = OpenProblemLog(job); error != 0) {
    job.window.ShowError("I/O error " + std::to_string(error));
    return TRunOutcome::kRefused;
  }
  SetRunRoots(job.state, options);

  job.window.SetJobState(TJobState::kCopyRun);
  job.state.StopRequested = false;
  ResetFreeSpaceCache(job);
  job.window.SetStatus("Обработка..."_cp1251);
  job.window.SetBusyPointer(true);

  WalkAndProcess(job, image, options, workers);

  job.window.SetJobState(TJobState::kIdle);
  CloseProblemLog(job);
  std::string caption = job.state.StopRequested ? "Прервано."_cp1251 : "Готово."_cp1251;
  job.window.SetTaskTitle("Шифродел"_cp1251);
  if (job.state.ProblemCount > 0)
    caption += " Проблем "_cp1251 + std::to_string(job.state.ProblemCount);
  job.window.SetStatus(caption);
  job.window.SetBusyPointer(false);
  if (job.state.ProblemLogFailed) {
    job.window.ShowError("Не все проблемы удалось записать в fp.log."_cp1251);
  }
  ExitAfterRun(job, options);
  return job.state.StopRequested ? TRunOutcome::kStopped : TRunOutcome::kFinished;
}

}  // namespace shifrodel
