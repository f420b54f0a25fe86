// The window services on a console, so the jobs run under shifrodel-batch
// exactly as under the window: questions go to stderr with their buttons and
// are answered by one line on stdin; on a terminal the current file and a
// progress line are shown, otherwise every status change is printed.
#ifndef SHIFRODEL_CLI_CONSOLE_WINDOW_H_
#define SHIFRODEL_CLI_CONSOLE_WINDOW_H_

#include <cstdio>
#include <functional>
#include <string>

#include "run/window_services.h"

namespace shifrodel::cli {

class ConsoleWindow : public WindowServices {
 public:
  // `in` gives the answers; `out` gets the questions and the progress.
  ConsoleWindow(std::FILE* in, std::FILE* out);
  ~ConsoleWindow() override;

  // Runs at the message pump after Ctrl-C was pressed (the job's Stop).
  void OnInterrupt(std::function<void()> stop) { on_interrupt_ = std::move(stop); }

  void SetStatus(const std::string& text) override;
  std::string Status() const override { return status_; }
  void SetTaskTitle(const std::string&) override {}
  void SetFreeSpaceText(const std::string& text) override;
  TAnswer Ask(const std::string& text, TQuestionButtons buttons) override;
  void PumpMessages() override;
  void SetBusyPointer(bool) override {}
  void SetJobState(TJobState) override {}
  void MarkField(TFolderField) override {}
  void SetQualityText(const std::string&) override {}
  void ShowError(const std::string& text) override;
  void Close() override {}

  // Ends the progress line on a terminal, before the caller prints more.
  void EndProgressLine();

 private:
  void ShowProgress();

  std::FILE* in_;
  std::FILE* out_;
  bool terminal_;
  bool progress_shown_ = false;
  std::string status_;
  std::string free_space_;
  std::function<void()> on_interrupt_;
};

// Parses an answer line: "ok", "cancel", "yes" or "no" in any case, among
// the question's buttons; anything else is Cancel.
TAnswer ParseAnswer(const std::string& line, TQuestionButtons buttons);

}  // namespace shifrodel::cli

#endif  // SHIFRODEL_CLI_CONSOLE_WINDOW_H_
