// The window's life and handlers: creation with the settings loaded, the
// first showing, destruction with the settings saved, and what each control
// does.
#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "app/folder_browser.h"
#include "app/message_box.h"
#include "app/product.h"
#include "app/ui_text.h"
#include "repack/tiff_repack.h"
#include "run/copy_run.h"

namespace shifrodel {
namespace {

constexpr QPoint kFirstPosition(182, 103);

}  // namespace

TfmMain::TfmMain(const MainWindowEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      workers_(environment.workers),
      image_(environment.fs, environment.converter),
      job_{state_, *this, environment.fs, environment.clock},
      settings_(environment.fs, environment.settings_path) {
  setObjectName("fmMain");
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  CreateControls();
  ConnectHandlers();
  move(kFirstPosition);
  edDirSrc_->setFocus();
  // A long conversion lets the window repaint and take a click on Stop.
  image_.SetProgress([this] { PumpMessages(); });

  setAcceptDrops(true);
  setWindowTitle(kWindowCaption);
  LoadControls();
}

TfmMain::~TfmMain() { SaveControls(); }

TMainSettings TfmMain::ControlSettings() const {
  TMainSettings s;
  s.Position = {pos().x(), pos().y()};
  s.DirSource = ToCp1251(edDirSrc_->text());
  s.DirDest = ToCp1251(edDirDest_->text());
  s.CopyOther = cbCopyOther_->isChecked();
  s.DirDestOther = ToCp1251(edDirDestOther_->text());
  s.Pack = ToCp1251(edPack_->text());
  s.ExistingFiles = SelectedExistingFiles();
  s.JpegConvert = rbJPEGConvert_->isChecked();
  s.PrefixOn = cbPref_->isChecked();
  s.Prefix = ToCp1251(edPref_->text());
  return s;
}

// In the order of the keys; each colour rule is applied once, whether or not
// the state changed, and loading the prefix does not tick cbPref.
void TfmMain::LoadControls() {
  const TMainSettings s = LoadSettings(settings_, ControlSettings());
  edDirSrc_->setText(FromCp1251(s.DirSource));
  edDirDest_->setText(FromCp1251(s.DirDest));
  cbCopyOther_->setChecked(s.CopyOther);
  cbCopyOtherClick();
  edDirDestOther_->setText(FromCp1251(s.DirDestOther));
  edPack_->setText(FromCp1251(s.Pack));
  SelectExistingFiles(s.ExistingFiles);
  rbJPEGConvert_->setChecked(s.JpegConvert);
  rbJPEGCopy_->setChecked(!s.JpegConvert);
  cbPref_->setChecked(s.PrefixOn);
  cbPrefClick();
  const QSignalBlocker quiet(edPref_);
  edPref_->setText(FromCp1251(s.Prefix));
}

void TfmMain::SaveControls() {
  if (SaveSettings(settings_, ControlSettings())) return;
  ShowErrorBox(nullptr, QStringLiteral("Unable to write to ") + FromCp1251(settings_.path()));
}

std::optional<TExistingFilePolicy> TfmMain::SelectedExistingFiles() const {
  if (rbExcistsLeave_->isChecked()) return TExistingFilePolicy::efLeave;
  if (rbExcistsAns_->isChecked()) return TExistingFilePolicy::efAsk;
  if (rbExcistsRename_->isChecked()) return TExistingFilePolicy::efRename;
  if (rbExcistsRewrite_->isChecked()) return TExistingFilePolicy::efRewrite;
  return std::nullopt;
}

void TfmMain::SelectExistingFiles(std::optional<TExistingFilePolicy> policy) {
  const std::pair<QRadioButton*, TExistingFilePolicy> buttons[] = {
      {rbExcistsLeave_, TExistingFilePolicy::efLeave},
      {rbExcistsAns_, TExistingFilePolicy::efAsk},
      {rbExcistsRename_, TExistingFilePolicy::efRename},
      {rbExcistsRewrite_, TExistingFilePolicy::efRewrite},
  };
  // Exclusive buttons cannot all be cleared; the group may have none selected.
  for (const auto& [button, value] : buttons) {
    button->setAutoExclusive(false);
    button->setChecked(policy == value);
  }
  for (const auto& [button, value] : buttons) button->setAutoExclusive(true);
}

void TfmMain::SetFieldColour(QLineEdit* field, TFieldColour colour) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, Colour(colour));
  field->setPalette(palette);
}

QColor TfmMain::Colour(TFieldColour colour) {
  switch (colour) {
    case TFieldColour::kWindow:
      return QApplication::palette().color(QPalette::Base);
    case TFieldColour::kBtnFace:
      return QApplication::palette().color(QPalette::Button);
    case TFieldColour::kYellow:
      break;
  }
  return QColor(255, 255, 0);
}

template <typename Job>
void TfmMain::RunJob(Job job) {
  if (job_running_) return;
  job_running_ = true;
  job();
  job_running_ = false;
  if (close_pending_) {
    close_pending_ = false;
    close();
  }
}

std::optional<std::string> TfmMain::FolderText(const QLineEdit* field) {
  std::optional<std::string> text = ToCp1251Exactly(field->text());
  if (!text) setWindowTitle(NotWindows1251Caption());
  return text;
}

std::optional<TRunOptions> TfmMain::CopyRunOptions() {
  TRunOptions options;
  const auto source = FolderText(edDirSrc_);
  const auto target = source ? FolderText(edDirDest_) : std::nullopt;
  const auto other = target ? FolderText(edDirDestOther_) : std::nullopt;
  if (!other) return std::nullopt;
  options.SourceFolder = *source;
  options.TargetFolder = *target;
  options.OtherFolder = *other;
  options.QualityText = ToCp1251(edPack_->text());
  options.CopyOther = [this] { return cbCopyOther_->isChecked(); };
  options.ExistingFiles = [this] {
    return SelectedExistingFiles().value_or(TExistingFilePolicy::efRewrite);
  };
  options.JpegHandling = [this] {
    return rbJPEGCopy_->isChecked() ? TJpegHandling::jhCopy : TJpegHandling::jhConvert;
  };
  options.DescriptionPrefix = [this] {
    return cbPref_->isChecked() ? ToCp1251(edPref_->text()) : std::string();
  };
  options.ExitAfterRun = [this] { return cbExitAfterConvert_->isChecked(); };
  options.ExitOnlyIfNoProblems = [this] { return cbExitAfterConvertGood_->isChecked(); };
  return options;
}

void TfmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TfmMain::FormShow() {
  const TWindowPosition position = LoadPosition(settings_, {pos().x(), pos().y()});
  MoveWindow({position.Left, pos().y()});
  MoveWindow({pos().x(), position.Top});
}

// A close asked for during a job waits until the job's handler has returned.
void TfmMain::closeEvent(QCloseEvent* event) {
  if (job_running_) {
    close_pending_ = true;
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

// Enter presses btRun (the default button) when no other button has the
// focus and btRun can take it; Esc presses btClose (the cancel button).
void TfmMain::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    if (!btRun_->isHidden() && btRun_->isEnabled()) btRun_->click();
    return;
  }
  if (plain && event->key() == Qt::Key_Escape) {
    btClose_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

// edPackKeyDown: the Up and Down keys step the quality.
bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edPack_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      udPackClick(key == Qt::Key_Up ? TStepDirection::kUp : TStepDirection::kDown);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TfmMain::btRunClick() {
  std::optional<TRunOptions> options = CopyRunOptions();
  if (!options) return;
  RunJob([&] { RunCopy(job_, image_, *options, workers_); });
}

void TfmMain::btStopClick() { state_.StopRequested = true; }

void TfmMain::btRepackClick() {
  const std::optional<std::string> source = FolderText(edDirSrc_);
  if (!source) return;
  TRepackOptions options;
  options.SourceFolder = *source;
  options.ExitAfterRun = [this] { return cbExitAfterConvert_->isChecked(); };
  options.ExitOnlyIfNoProblems = [this] { return cbExitAfterConvertGood_->isChecked(); };
  RunJob([&] { RunRepack(job_, options); });
}

void TfmMain::btStopRepackClick() { state_.StopRequested = true; }

void TfmMain::btCloseClick() { close(); }

void TfmMain::btAboutClick() { ShowAboutBox(this); }

void TfmMain::sbDirSrcClick() {
  const QString folder = SelectFolder(this);
  if (!folder.isEmpty()) edDirSrc_->setText(folder);
}

void TfmMain::sbDirDestClick() {
  const QString folder = SelectFolder(this);
  if (!folder.isEmpty()) edDirDest_->setText(folder);
  cbCopyOther_->setChecked(true);
}

void TfmMain::sbDirDestOtherClick() {
  const QString folder = SelectFolder(this);
  if (!folder.isEmpty()) edDirDestOther_->setText(folder);
  cbCopyOther_->setChecked(true);
}

void TfmMain::cbPrefClick() {
  SetFieldColour(edPref_, cbPref_->isChecked() ? TFieldColour::kWindow : TFieldColour::kBtnFace);
}

void TfmMain::cbCopyOtherClick() {
  SetFieldColour(edDirDestOther_,
                 cbCopyOther_->isChecked() ? TFieldColour::kWindow : TFieldColour::kBtnFace);
}

void TfmMain::edPrefChange() { cbPref_->setChecked(true); }

// A source field that a refused run marked yellow turns white when edited.
void TfmMain::edDirSrcChange() { SetFieldColour(edDirSrc_, TFieldColour::kWindow); }

void TfmMain::edDirDestChange() { SetFieldColour(edDirDest_, TFieldColour::kWindow); }

void TfmMain::cbExitAfterConvertClick() {
  cbExitAfterConvertGood_->setEnabled(cbExitAfterConvert_->isChecked());
}

void TfmMain::udPackClick(TStepDirection direction) {
  if (const auto stepped = StepQuality(edPack_->text(), direction)) edPack_->setText(*stepped);
}

}  // namespace shifrodel
