#include "cli/console_window.h"

#include "cli/arguments.h"
#include "cli/interrupt.h"
#include "text/case_tables.h"
#include "text/trim.h"

namespace shifrodel::cli {
namespace {

// Message texts break lines with single carriage returns.
std::string WithNewlines(std::string text) {
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  return text;
}

}  // namespace

TAnswer ParseAnswer(const std::string& line, TQuestionButtons buttons) {
  const std::string word = LowerCase(Trim(line));
  if (buttons == TQuestionButtons::kOkCancel) {
    if (word == "ok") return TAnswer::kOk;
  } else {
    if (word == "yes") return TAnswer::kYes;
    if (word == "no") return TAnswer::kNo;
  }
  return TAnswer::kCancel;
}

ConsoleWindow::ConsoleWindow(std::FILE* in, std::FILE* out)
    : in_(in), out_(out), terminal_(IsTerminal(out)) {}

ConsoleWindow::~ConsoleWindow() { EndProgressLine(); }

void ConsoleWindow::SetStatus(const std::string& text) {
  status_ = text;
  if (terminal_) {
    ShowProgress();
  } else {
    PrintLine(out_, text);
  }
}

void ConsoleWindow::SetFreeSpaceText(const std::string& text) {
  free_space_ = text;
  if (terminal_) ShowProgress();
}

void ConsoleWindow::ShowProgress() {
  std::fputs("\r\033[K", out_);
  if (!free_space_.empty()) Print(out_, "[" + free_space_ + "] ");
  Print(out_, status_);
  std::fflush(out_);
  progress_shown_ = true;
}

void ConsoleWindow::EndProgressLine() {
  if (!progress_shown_) return;
  std::fputc('\n', out_);
  progress_shown_ = false;
}

TAnswer ConsoleWindow::Ask(const std::string& text, TQuestionButtons buttons) {
  EndProgressLine();
  PrintLine(out_, WithNewlines(text));
  std::fputs(buttons == TQuestionButtons::kOkCancel ? "[ok/cancel] " : "[yes/no/cancel] ", out_);
  std::fflush(out_);
  std::string line;
  for (int c; (c = std::fgetc(in_)) != EOF && c != '\n';) line.push_back(static_cast<char>(c));
  if (!terminal_) std::fputc('\n', out_);
  return ParseAnswer(line, buttons);
}

void ConsoleWindow::PumpMessages() {
  if (InterruptRequested() && on_interrupt_) on_interrupt_();
}

void ConsoleWindow::ShowError(const std::string& text) {
  EndProgressLine();
  Print(out_, "shifrodel-batch: ");
  PrintLine(out_, text);
}

}  // namespace shifrodel::cli
