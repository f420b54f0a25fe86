#include "run/problem_log.h"

namespace shifrodel {

int OpenProblemLog(JobContext& job) {
  int error = 0;
  job.state.ProblemLog = job.fs.CreateWrite(kProblemLogName, &error);
  job.state.ProblemCount = 0;
  job.state.ProblemLogFailed = false;
  return job.state.ProblemLog ? 0 : (error != 0 ? error : -1);
}

void LogProblem(JobContext& job, const std::string& source, const std::string& destination) {
  const std::string line = source + '\t' + destination + "\r\n";
  if (!job.state.ProblemLog || !job.state.ProblemLog->Write(line.data(), line.size())) {
    job.state.ProblemLogFailed = true;
  }
  ++job.state.ProblemCount;
}

void CloseProblemLog(JobContext& job) {
  if (job.state.ProblemLog && !job.state.ProblemLog->Close()) job.state.ProblemLogFailed = true;
  job.state.ProblemLog.reset();
  if (job.state.ProblemCount <= 0) job.fs.DeleteFile(kProblemLogName);
}

}  // namespace shifrodel
