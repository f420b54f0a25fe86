// The problem log fp.log: one line per file that ended without a destination
// file (source, tab, destination, CR LF), in the process's working folder.
// Created or emptied at the start of every copy run, deleted at its end when
// no line was written.
#ifndef SHIFRODEL_RUN_PROBLEM_LOG_H_
#define SHIFRODEL_RUN_PROBLEM_LOG_H_

#include <string>

#include "run/job_context.h"

namespace shifrodel {

inline constexpr char kProblemLogName[] = "fp.log";

// Creates or empties fp.log and sets ProblemCount to 0. Returns the
// system's error number, 0 on success.
int OpenProblemLog(JobContext& job);

// Appends one line and counts one more problem. A failed write is kept in
// ProblemLogError and reported when the run has ended.
void LogProblem(JobContext& job, const std::string& source, const std::string& destination);

// Writes out and closes the log; deletes it when the run had no problems.
void CloseProblemLog(JobContext& job);

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_PROBLEM_LOG_H_
