// What the user chose for a copy run. The folder and quality fields are
// taken once at the start (their controls are disabled while a run lasts);
// the per-file fields are read afresh at every use, because their controls
// stay usable and a change must apply from the next file on.
#ifndef SHIFRODEL_RUN_RUN_OPTIONS_H_
#define SHIFRODEL_RUN_RUN_OPTIONS_H_

#include <functional>
#include <string>

namespace shifrodel {

// What the file step does when a file already exists at the destination.
enum class TExistingFilePolicy { efLeave, efAsk, efRename, efRewrite };

// How the file step transfers an accepted file.
enum class TJpegHandling { jhConvert, jhCopy };

// A field read at each use: the current value of its control.
template <typename T>
using LiveField = std::function<T()>;

// A live field that always reads `value`, for callers without controls.
template <typename T>
LiveField<T> FixedField(T value) {
  return [value] { return value; };
}

struct TRunOptions {
  // Read at the start of the run. All text is Windows-1251.
  std::string SourceFolder;
  std::string TargetFolder;
  std::string OtherFolder;
  std::string QualityText;

  // Read at every use.
  LiveField<bool> CopyOther = FixedField(true);
  LiveField<TExistingFilePolicy> ExistingFiles = FixedField(TExistingFilePolicy::efRewrite);
  LiveField<TJpegHandling> JpegHandling = FixedField(TJpegHandling::jhConvert);
  LiveField<std::string> DescriptionPrefix = FixedField(std::string());
  LiveField<bool> ExitAfterRun = FixedField(false);
  LiveField<bool> ExitOnlyIfNoProblems = FixedField(true);
};

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_RUN_OPTIONS_H_
