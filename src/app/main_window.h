// TfmMain, the program's one window: the folders and options of a copy run
// and of a TIFF repack, the buttons that start and stop them, the caption as
// status line, and the settings kept in the INI file. It also provides the
// window services that the jobs call.
#ifndef SHIFRODEL_APP_MAIN_WINDOW_H_
#define SHIFRODEL_APP_MAIN_WINDOW_H_

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/quality_step.h"
#include "app/up_down_arrows.h"
#include "imaging/image_layer.h"
#include "imaging/jpeg_converter.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "run/job_context.h"
#include "run/run_options.h"
#include "run/run_state.h"
#include "run/window_services.h"
#include "settings/main_settings.h"
#include "settings/profile_file.h"

namespace shifrodel {

// What the window works with; main() passes the real ones, tests their own.
struct MainWindowEnvironment {
  FileSystem& fs;
  Clock& clock;
  JpegConverter& converter;
  // The INI file, Windows-1251.
  std::string settings_path;
  // Threads that convert the coming files of a copy run ahead of it.
  int workers = 1;
};

// The colours that mark a field's state.
enum class TFieldColour { kWindow, kBtnFace, kYellow };

class TfmMain : public QWidget, public WindowServices {
  Q_OBJECT

 public:
  // Creation: builds the controls, opens the settings file and loads them.
  explicit TfmMain(const MainWindowEnvironment& environment, QWidget* parent = nullptr);
  // Destruction: writes every setting back and releases the settings file.
  ~TfmMain() override;

  TRunState& run_state() { return state_; }
  // How much the design layout was enlarged so that no caption is clipped.
  double layout_scale() const { return scale_; }
  static QColor Colour(TFieldColour colour);

  // The window services.
  void SetStatus(const std::string& text) override;
  std::string Status() const override;
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

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& type, void* message, qintptr* result) override;
#else
  void moveEvent(QMoveEvent* event) override;
#endif

 private:
  struct Placed {
    QWidget* control;
    QRect design;
    bool auto_size;  // a label: as large as its text
  };

  // Building the window (main_window_layout.cc).
  void CreateControls();
  void CreateBand();
  void CreateGroupBoxes();
  QPushButton* AddButton(const char* name, const QString& caption, const QString& hint,
                         QRect place);
  QLabel* AddLabel(QWidget* parent, const char* name, const QString& caption, QPoint place);
  QLineEdit* AddEdit(const char* name, const QString& text, QRect place);
  QToolButton* AddFolderButton(const char* name, QRect place);
  QCheckBox* AddCheckBox(const char* name, const QString& caption, const QString& hint,
                         QRect place);
  QRadioButton* AddRadioButton(QGroupBox* group, const char* name, const QString& caption,
                               const QString& hint, QRect place);
  void Place(QWidget* control, QRect design, bool auto_size = false);
  void ApplyLayout();
  void SetTabOrder();
  void ConnectHandlers();

  // Settings (main_window.cc).
  TMainSettings ControlSettings() const;
  void LoadControls();
  void SaveControls();
  std::optional<TExistingFilePolicy> SelectedExistingFiles() const;
  void SelectExistingFiles(std::optional<TExistingFilePolicy> policy);

  // Running a job: a close asked for meanwhile takes effect when it returns.
  template <typename Job>
  void RunJob(Job job);
  std::optional<TRunOptions> CopyRunOptions();
  // The text of a folder field, or nullopt (with a caption saying why) when
  // it has characters that Windows-1251 cannot represent.
  std::optional<std::string> FolderText(const QLineEdit* field);
  void SetFieldColour(QLineEdit* field, TFieldColour colour);

  // Edge snapping (main_window_snap.cc): every move the program makes goes
  // through MoveWindow.
  void MoveWindow(QPoint top_left);

  // The handlers, named after their control and event.
  void FormShow();
  void btRunClick();
  void btStopClick();
  void btRepackClick();
  void btStopRepackClick();
  void btCloseClick();
  void btAboutClick();
  void sbDirSrcClick();
  void sbDirDestClick();
  void sbDirDestOtherClick();
  void cbPrefClick();
  void cbCopyOtherClick();
  void edPrefChange();
  void edDirSrcChange();
  void edDirDestChange();
  void cbExitAfterConvertClick();
  void udPackClick(TStepDirection direction);
  void WMDropFiles(const QString& path);

  const int workers_;
  TRunState state_;
  ImageLayer image_;
  JobContext job_;
  ProfileFile settings_;

  std::vector<Placed> placed_;
  double scale_ = 1.0;
  bool shown_ = false;
  bool busy_ = false;
  bool job_running_ = false;
  bool close_pending_ = false;
#ifndef Q_OS_WIN
  bool snapping_ = false;  // inside the move that snapping makes
#endif

  QLabel* Label2_ = nullptr;
  QLineEdit* edDirSrc_ = nullptr;
  QToolButton* sbDirSrc_ = nullptr;
  QPushButton* btRun_ = nullptr;
  QPushButton* btStop_ = nullptr;
  QPushButton* btRepack_ = nullptr;
  QPushButton* btStopRepack_ = nullptr;
  QPushButton* btClose_ = nullptr;
  QPushButton* btAbout_ = nullptr;
  QCheckBox* cbPref_ = nullptr;
  QLabel* lbFreeSpace_ = nullptr;
  QLineEdit* edPref_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLineEdit* edDirDest_ = nullptr;
  QToolButton* sbDirDest_ = nullptr;
  QCheckBox* cbCopyOther_ = nullptr;
  QLineEdit* edDirDestOther_ = nullptr;
  QToolButton* sbDirDestOther_ = nullptr;
  QLabel* lbPack_ = nullptr;
  QLineEdit* edPack_ = nullptr;
  UpDownArrows* udPack_ = nullptr;
  QGroupBox* gbJPEG_ = nullptr;
  QRadioButton* rbJPEGConvert_ = nullptr;
  QRadioButton* rbJPEGCopy_ = nullptr;
  QGroupBox* gbExcists_ = nullptr;
  QRadioButton* rbExcistsLeave_ = nullptr;
  QRadioButton* rbExcistsAns_ = nullptr;
  QRadioButton* rbExcistsRename_ = nullptr;
  QRadioButton* rbExcistsRewrite_ = nullptr;
  QCheckBox* cbExitAfterConvert_ = nullptr;
  QCheckBox* cbExitAfterConvertGood_ = nullptr;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_APP_MAIN_WINDOW_H_
