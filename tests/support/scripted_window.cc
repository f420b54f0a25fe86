#include "support/scripted_window.h"

namespace shifrodel::testing {
namespace {

const char* AnswerName(TAnswer a) {
  switch (a) {
    case TAnswer::kOk:
      return "ok";
    case TAnswer::kCancel:
      return "cancel";
    case TAnswer::kYes:
      return "yes";
    case TAnswer::kNo:
      return "no";
  }
  return "?";
}

const char* StateName(TJobState s) {
  switch (s) {
    case TJobState::kIdle:
      return "idle";
    case TJobState::kCopyRun:
      return "copy-run";
    case TJobState::kRepack:
      return "repack";
  }
  return "?";
}

}  // namespace

void ScriptedWindow::SetStatus(const std::string& text) {
  status_ = text;
  statuses_.push_back(text);
  log_.push_back("status: " + text);
}

void ScriptedWindow::SetTaskTitle(const std::string& text) {
  task_title_ = text;
  log_.push_back("title: " + text);
}

void ScriptedWindow::SetFreeSpaceText(const std::string& text) {
  free_space_texts_.push_back(text);
  log_.push_back("free: " + text);
}

TAnswer ScriptedWindow::Ask(const std::string& text, TQuestionButtons buttons) {
  TAnswer answer = TAnswer::kCancel;
  if (answers_.empty()) {
    ++unexpected_questions_;
  } else {
    answer = answers_.front();
    answers_.pop_front();
  }
  questions_.push_back({text, buttons, answer});
  log_.push_back("ask: " + text + " -> " + AnswerName(answer));
  return answer;
}

void ScriptedWindow::PumpMessages() {
  ++pump_count_;
  log_.push_back("pump");
  if (on_pump_) on_pump_();
}

void ScriptedWindow::SetBusyPointer(bool busy) {
  busy_pointer_ = busy;
  log_.push_back(busy ? "pointer: busy" : "pointer: normal");
}

void ScriptedWindow::SetJobState(TJobState state) {
  job_states_.push_back(state);
  log_.push_back(std::string("state: ") + StateName(state));
}

void ScriptedWindow::MarkField(TFolderField field) {
  marked_fields_.push_back(field);
  log_.push_back(field == TFolderField::kSource   ? "mark: source"
                 : field == TFolderField::kTarget ? "mark: target"
                                                  : "mark: other");
}

void ScriptedWindow::SetQualityText(const std::string& text) {
  quality_text_ = text;
  log_.push_back("quality: " + text);
}

void ScriptedWindow::ShowError(const std::string& text) {
  errors_.push_back(text);
  log_.push_back("error: " + text);
}

void ScriptedWindow::Close() {
  closed_ = true;
  log_.push_back("close");
}

}  // namespace shifrodel::testing
