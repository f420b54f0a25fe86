#include "run/file_step.h"

#include <algorithm>

#include "cipher/target_path.h"
#include "descr/description_list.h"
#include "run/existing_file_policy.h"
#include "run/free_space_guard.h"
#include "run/problem_log.h"
#include "text/case_tables.h"
#include "text/cp1251_literal.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

constexpr std::size_t kMaxCaption = 1024;

std::string LowerTypeOf(std::string_view path) {
  std::string_view ext = ExtractFileExt(path);
  if (!ext.empty()) ext.remove_prefix(1);
  return LowerCase(ext);
}

// The destination, quoted when it holds a space, then the source with the
// prefix in front.
std::string Description(const std::string& destination, const std::string& prefix,
                        const std::string& source) {
  std::string text =
      destination.find(' ') == std::string::npos ? destination : '"' + destination + '"';
  text += ' ';
  if (!prefix.empty()) text += prefix + '\\';
  text += source;
  return text;
}

void ShowProgress(JobContext& job, const std::string& source) {
  std::string_view shown = source;
  shown.remove_prefix(std::min(job.state.SourceRoot.size(), shown.size()));
  job.window.SetStatus(std::string(shown.substr(0, kMaxCaption)));
  job.window.SetTaskTitle(std::string(ExtractFileName(source)));
}

// Converts the source into the destination; false when it could not be
// opened or converted, or the file not written: the destination then holds
// what it held (saves are atomic), and the file is a problem of the run. A
// damaged source the user was asked about is not such a failure.
bool Convert(JobContext& job, ImageLayer& image, const std::string& source,
             const std::string& destination) {
  image.LoadImageFile(source);
  if (image.IoFailed()) {
    // Only a damaged image is offered for deletion: a file that could not be
    // opened, or did not fit in memory, may be a good scan.
    if (image.LoadFailure() != ConversionFailure::kBadImage) return false;
    const TAnswer answer =
        job.window.Ask("Невозможно прочитать файл. Возможно, файл повреждён:\r"_cp1251 + source +
                           "\r\rУдалить файл?"_cp1251,
                       TQuestionButtons::kYesNoCancel);
    if (answer == TAnswer::kYes) job.fs.DeleteFile(source);
    if (answer == TAnswer::kCancel) job.state.StopRequested = true;
    return true;
  }
  for (;;) {
    image.SaveJpegFile(destination);
    if (!image.IoFailed()) return true;
    const TAnswer answer = job.window.Ask(
        "Невозможно сохранить файл:\r"_cp1251 + destination + "\r\rПовторить сохранение?"_cp1251,
        TQuestionButtons::kYesNoCancel);
    if (answer == TAnswer::kYes) continue;
    if (answer == TAnswer::kCancel) job.state.StopRequested = true;
    return false;
  }
}

}  // namespace

bool IsAcceptedSource(std::string_view source_path) {
  const std::string type = LowerTypeOf(source_path);
  return type == "jpg" || type == "jpeg" || type == "tif" || type == "tiff" || type == "bmp" ||
         type == "psd";
}

bool IsJpegSource(std::string_view source_path) {
  const std::string type = LowerTypeOf(source_path);
  return type == "jpg" || type == "jpeg";
}

void ProcessFile(JobContext& job, ImageLayer& image, const TRunOptions& options,
                 const std::string& source_path) {
  const std::string prefix = options.DescriptionPrefix();
  UpdateFreeSpaceLabel(job);
  const TargetRoots roots{job.state.SourceRoot, job.state.TargetRoot, job.state.OtherRoot};
  std::optional<std::string> destination = BuildTargetPath(source_path, roots, options.CopyOther());
  if (!destination || !IsAcceptedSource(source_path)) return;

  ShowProgress(job, source_path);
  job.fs.ForceFolders(std::string(ExtractFileFolder(*destination)));
  const TPolicyDecision decision =
      ApplyExistingFilePolicy(job, options, source_path, &*destination);
  // The run's own output met again already names its true origin.
  if (decision == TPolicyDecision::kIsSource) return;

  RefreshFreeSpace(job, *destination);
  if (!GuardFreeSpace(job, *destination, TGuardActivity::gaCopy)) return;

  bool failed = false;
  if (decision == TPolicyDecision::kWrite) {
    // "Copy as is" is for JPEG files: any other source is converted, since
    // its bytes under a ".jpg" name would not be a JPEG file.
    if (options.JpegHandling() == TJpegHandling::jhCopy && IsJpegSource(source_path)) {
      failed = !job.fs.CopyFile(source_path, *destination);
    } else {
      failed = !Convert(job, image, source_path, *destination);
    }
  }

  // A file at the destination after a skip or a damaged source is described
  // as coming from this source; after a failure it keeps its own record.
  if (!failed && job.fs.FileExists(*destination)) {
    SetFileDescription(job.fs, *destination, Description(*destination, prefix, source_path));
  } else {
    LogProblem(job, source_path, *destination);
  }
}

}  // namespace shifrodel
