#include "run/existing_file_policy.h"

#include "text/cp1251_literal.h"

namespace shifrodel {
namespace {

bool IsSameFile(FileSystem& fs, const std::string& a, const std::string& b) {
  const std::optional<std::string> ca = fs.CanonicalPath(a);
  return ca && ca == fs.CanonicalPath(b);
}

// base + " (Копия N).jpg" for the first N from 1 that names no file.
std::string FreeCopyName(FileSystem& fs, const std::string& destination) {
  const std::string base = destination.substr(0, destination.size() - 4);
  for (int n = 1;; ++n) {
    std::string candidate = base + " (Копия "_cp1251 + std::to_string(n) + ").jpg";
    if (!fs.FileExists(candidate)) return candidate;
  }
}

}  // namespace

TPolicyDecision ApplyExistingFilePolicy(JobContext& job, const TRunOptions& options,
                                        const std::string& source, std::string* destination) {
  if (!job.fs.FileExists(*destination)) return TPolicyDecision::kWrite;
  if (IsSameFile(job.fs, source, *destination)) return TPolicyDecision::kIsSource;
  switch (options.ExistingFiles()) {
    case TExistingFilePolicy::efLeave:
      return TPolicyDecision::kKeep;
    case TExistingFilePolicy::efRewrite:
      return TPolicyDecision::kWrite;
    case TExistingFilePolicy::efAsk:
      return job.window.Ask("Файл существует:\r\""_cp1251 + *destination +
                                "\"\r\rИсходный:\r\""_cp1251 + source +
                                "\"\r\rНажмите кнопку ОК, чтобы заменить файл."_cp1251,
                            TQuestionButtons::kOkCancel) == TAnswer::kOk
                 ? TPolicyDecision::kWrite
                 : TPolicyDecision::kKeep;
    case TExistingFilePolicy::efRename:
      *destination = FreeCopyName(job.fs, *destination);
      return TPolicyDecision::kWrite;
  }
  return TPolicyDecision::kWrite;
}

}  // namespace shifrodel
