#include "app/message_box.h"

#include <QPushButton>
#include <vector>

#include "app/product.h"

namespace shifrodel {
namespace {

MessageBoxHook* g_hook = nullptr;

struct Choice {
  QString label;
  QMessageBox::ButtonRole role;
  TAnswer answer;
};

std::vector<Choice> ChoicesFor(TQuestionButtons buttons) {
  if (buttons == TQuestionButtons::kOkCancel) {
    return {{QStringLiteral("ОК"), QMessageBox::AcceptRole, TAnswer::kOk},
            {QStringLiteral("Отмена"), QMessageBox::RejectRole, TAnswer::kCancel}};
  }
  return {{QStringLiteral("Да"), QMessageBox::YesRole, TAnswer::kYes},
          {QStringLiteral("Нет"), QMessageBox::NoRole, TAnswer::kNo},
          {QStringLiteral("Отмена"), QMessageBox::RejectRole, TAnswer::kCancel}};
}

// The jobs break lines with single carriage returns.
QString WithLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

class Box {
 public:
  Box(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon)
      : box_(owner) {
    box_.setWindowTitle(caption);
    box_.setIcon(icon);
    box_.setTextFormat(Qt::PlainText);
    box_.setText(WithLineBreaks(text));
  }

  void AddButton(const QString& label, QMessageBox::ButtonRole role) {
    buttons_.push_back(box_.addButton(label, role));
    if (buttons_.size() == 1) box_.setDefaultButton(buttons_.front());
  }

  void SetEscapeButton(int index) { box_.setEscapeButton(buttons_[index]); }

  // Shows the box, or lets the hook answer it; the index of the button pressed.
  int Run() {
    if (g_hook != nullptr) {
      const int pressed = g_hook->Press(View());
      const bool known = pressed >= 0 && pressed < static_cast<int>(buttons_.size());
      return known ? pressed : IndexOf(box_.escapeButton());
    }
    box_.exec();
    return IndexOf(box_.clickedButton());
  }

 private:
  int IndexOf(const QAbstractButton* button) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
      if (buttons_[i] == button) return static_cast<int>(i);
    }
    return IndexOf(box_.escapeButton());
  }

  TBoxView View() const {
    TBoxView view;
    view.caption = box_.windowTitle();
    view.text = box_.text();
    for (const QPushButton* button : buttons_) view.buttons << button->text();
    view.default_button = IndexOf(box_.defaultButton());
    view.escape_button = IndexOf(box_.escapeButton());
    view.icon = box_.icon();
    return view;
  }

  QMessageBox box_;
  std::vector<QPushButton*> buttons_;
};

}  // namespace

void SetMessageBoxHook(MessageBoxHook* hook) { g_hook = hook; }

TAnswer AskQuestion(QWidget* owner, const QString& text, TQuestionButtons buttons) {
  const std::vector<Choice> choices = ChoicesFor(buttons);
  Box box(owner, QStringLiteral("Внимание!"), text, QMessageBox::NoIcon);
  for (const Choice& choice : choices) box.AddButton(choice.label, choice.role);
  box.SetEscapeButton(static_cast<int>(choices.size()) - 1);
  const int pressed = box.Run();
  return choices[pressed].answer;
}

void ShowErrorBox(QWidget* owner, const QString& text) {
  Box box(owner, kProductName, text, QMessageBox::Critical);
  box.AddButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
  box.SetEscapeButton(0);
  box.Run();
}

void ShowAboutBox(QWidget* owner) {
  Box box(owner, kAboutCaption, AboutText(), QMessageBox::NoIcon);
  box.AddButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
  box.SetEscapeButton(0);
  box.Run();
}

}  // namespace shifrodel
