// The window's message boxes: the jobs' questions (caption "Внимание!", no
// icon, the first button the default, Russian button labels, carriage
// returns shown as line breaks), the error report and the About box. Tests
// install a hook that sees each box as it would be shown and presses one of
// its buttons instead of the user.
#ifndef SHIFRODEL_APP_MESSAGE_BOX_H_
#define SHIFRODEL_APP_MESSAGE_BOX_H_

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "run/window_services.h"

namespace shifrodel {

// A box as the user would see it.
struct TBoxView {
  QString caption;
  QString text;
  QStringList buttons;  // labels, first to last
  int default_button = -1;
  int escape_button = -1;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class MessageBoxHook {
 public:
  virtual ~MessageBoxHook() = default;
  // The index of the button to press.
  virtual int Press(const TBoxView& box) = 0;
};

// While a hook is set, boxes are not shown: the hook answers them. nullptr
// shows them to the user again.
void SetMessageBoxHook(MessageBoxHook* hook);

// A modal question owned by `owner`; the button pressed.
TAnswer AskQuestion(QWidget* owner, const QString& text, TQuestionButtons buttons);

// The window's standard error report.
void ShowErrorBox(QWidget* owner, const QString& text);

// The About box.
void ShowAboutBox(QWidget* owner);

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_MESSAGE_BOX_H_
