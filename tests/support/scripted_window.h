// A window for the jobs' tests: it records every service call in order and
// answers questions from a script, so a test can check the exact captions,
// questions and states a job produced.
#ifndef SHIFRODEL_TESTS_SUPPORT_SCRIPTED_WINDOW_H_
#define SHIFRODEL_TESTS_SUPPORT_SCRIPTED_WINDOW_H_

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "run/window_services.h"

namespace shifrodel::testing {

class ScriptedWindow : public WindowServices {
 public:
  struct Question {
    std::string text;  // Windows-1251, carriage returns as in the message box
    TQuestionButtons buttons;
    TAnswer answer;
  };

  // Answers for the next questions, in order. When the script runs out the
  // question is answered with Cancel and counted in unexpected_questions().
  void Answer(std::initializer_list<TAnswer> answers) { answers_.insert(answers_.end(), answers); }
  // Runs at every PumpMessages, e.g. to press Stop or change an option.
  void OnPump(std::function<void()> action) { on_pump_ = std::move(action); }

  void SetStatus(const std::string& text) override;
  std::string Status() const override { return status_; }
  void SetTaskTitle(const std::string& text) override;
  void SetFreeSpaceText(const std::string& text) override;
  TAnswer Ask(const std::string& text, TQuestionButtons buttons) override;
  void PumpMessages() override;
  void SetBusyPointer(bool busy) override;
  void SetJobState(TJobState state) override;
  void MarkField(TFolderField field) override;
  void SetQualityText(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void Close() override;

  const std::vector<Question>& questions() const { return questions_; }
  int unexpected_questions() const { return unexpected_questions_; }
  // Every status text in order (the caption's history).
  const std::vector<std::string>& statuses() const { return statuses_; }
  const std::string& task_title() const { return task_title_; }
  const std::vector<std::string>& free_space_texts() const { return free_space_texts_; }
  const std::vector<TJobState>& job_states() const { return job_states_; }
  const std::vector<TFolderField>& marked_fields() const { return marked_fields_; }
  const std::string& quality_text() const { return quality_text_; }
  const std::vector<std::string>& errors() const { return errors_; }
  bool busy_pointer() const { return busy_pointer_; }
  int pump_count() const { return pump_count_; }
  bool closed() const { return closed_; }

  // Every call as one line ("status: ...", "ask: ...", "pump", ...), for
  // comparing whole runs.
  const std::vector<std::string>& log() const { return log_; }

 private:
  std::deque<TAnswer> answers_;
  std::function<void()> on_pump_;
  std::vector<Question> questions_;
  int unexpected_questions_ = 0;
  std::string status_;
  std::vector<std::string> statuses_;
  std::string task_title_;
  std::vector<std::string> free_space_texts_;
  std::vector<TJobState> job_states_;
  std::vector<TFolderField> marked_fields_;
  std::string quality_text_;
  std::vector<std::string> errors_;
  bool busy_pointer_ = false;
  int pump_count_ = 0;
  bool closed_ = false;
  std::vector<std::string> log_;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_SCRIPTED_WINDOW_H_
