// The window services that the jobs call, on Qt. The caption is the status
// line. Qt gives every window a task-bar button of its own showing its
// caption, so there is no separate application button whose text could be
// set: the task title is kept as the application's display name (through
// the application name, which Qt does not append to captions, unlike an
// explicit display name).
#include <QApplication>
#include <QGuiApplication>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/ui_text.h"

namespace shifrodel {

void TfmMain::SetStatus(const std::string& text) { setWindowTitle(FromCp1251(text)); }

std::string TfmMain::Status() const { return ToCp1251(windowTitle()); }

void TfmMain::SetTaskTitle(const std::string& text) {
  QCoreApplication::setApplicationName(FromCp1251(text));
}

void TfmMain::SetFreeSpaceText(const std::string& text) {
  lbFreeSpace_->setText(FromCp1251(text));
  lbFreeSpace_->adjustSize();
}

TAnswer TfmMain::Ask(const std::string& text, TQuestionButtons buttons) {
  return AskQuestion(this, FromCp1251(text), buttons);
}

void TfmMain::PumpMessages() { QCoreApplication::processEvents(); }

void TfmMain::SetBusyPointer(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void TfmMain::SetJobState(TJobState state) {
  const bool copy = state == TJobState::kCopyRun;
  const bool repack = state == TJobState::kRepack;
  btRun_->setVisible(!copy);
  btRun_->setEnabled(!repack);
  btStop_->setVisible(copy);
  btRepack_->setVisible(!repack);
  btRepack_->setEnabled(!copy);
  btStopRepack_->setVisible(repack);
  for (QLineEdit* field : {edDirSrc_, edDirDest_, edDirDestOther_, edPack_}) {
    field->setEnabled(!copy);
  }
  if (copy) btStop_->setFocus();
  if (repack) btStopRepack_->setFocus();
}

void TfmMain::MarkField(TFolderField field) {
  switch (field) {
    case TFolderField::kSource:
      SetFieldColour(edDirSrc_, TFieldColour::kYellow);
      break;
    case TFolderField::kTarget:
      SetFieldColour(edDirDest_, TFieldColour::kYellow);
      break;
    case TFolderField::kOther:
      SetFieldColour(edDirDestOther_, TFieldColour::kYellow);
      break;
  }
}

void TfmMain::SetQualityText(const std::string& text) { edPack_->setText(FromCp1251(text)); }

void TfmMain::ShowError(const std::string& text) { ShowErrorBox(this, FromCp1251(text)); }

void TfmMain::Close() { close(); }

}  // namespace shifrodel
