// The few things the jobs ask of the main window. The Qt window, the console
// front end and the tests (a scripted fake) each provide them, so the same
// jobs run under all three. Every text is Windows-1251; line breaks in
// questions are single carriage returns (13).
#ifndef SHIFRODEL_RUN_WINDOW_SERVICES_H_
#define SHIFRODEL_RUN_WINDOW_SERVICES_H_

#include <string>

namespace shifrodel {

enum class TQuestionButtons { kOkCancel, kYesNoCancel };
enum class TAnswer { kOk, kCancel, kYes, kNo };

// The window's three states: which buttons and fields are usable.
enum class TJobState { kIdle, kCopyRun, kRepack };

// The folder fields that a refused run marks yellow.
enum class TFolderField { kSource, kTarget, kOther };

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // The main window's caption, which doubles as the status line.
  virtual void SetStatus(const std::string& text) = 0;
  virtual std::string Status() const = 0;
  // The application's title: the text of its task-bar button.
  virtual void SetTaskTitle(const std::string& text) = 0;
  // The caption of the free-space label.
  virtual void SetFreeSpaceText(const std::string& text) = 0;
  // A modal question with the caption "Внимание!", no icon and the first
  // button as the default; returns the button pressed.
  virtual TAnswer Ask(const std::string& text, TQuestionButtons buttons) = 0;
  // Handles every pending window message (repaint, Stop), then returns.
  virtual void PumpMessages() = 0;
  // The busy pointer (an arrow with a small hourglass) or the normal one.
  virtual void SetBusyPointer(bool busy) = 0;
  // Puts buttons and fields into a state, with the focus on the job's Stop
  // button when it can take it.
  virtual void SetJobState(TJobState state) = 0;
  // Colours a folder field yellow.
  virtual void MarkField(TFolderField field) = 0;
  // Replaces the text of the quality field.
  virtual void SetQualityText(const std::string& text) = 0;
  // The window's standard error report, for a failure that stops a job
  // before it starts.
  virtual void ShowError(const std::string& text) = 0;
  // Closes the main window, which ends the program once the current handler
  // has returned.
  virtual void Close() = 0;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_RUN_WINDOW_SERVICES_H_
