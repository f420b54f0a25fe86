// What the window's tests share: a window built over a temporary folder (its
// INI file there, the file system one that can inject failures), message
// boxes answered from a script, and a folder browser that answers at once.
#ifndef SHIFRODEL_TESTS_APP_WINDOW_HARNESS_H_
#define SHIFRODEL_TESTS_APP_WINDOW_HARNESS_H_

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/message_box.h"
#include "imaging/jpeg_converter.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

namespace shifrodel::testing {

// Answers every box from a script instead of the user. Each answer names the
// button to press by its label and may first look at the box and the window
// while the box is open. A box without an answer in the script is pressed
// at its escape button and counted as unexpected.
class ScriptedBoxes : public MessageBoxHook {
 public:
  using OnShown = std::function<void(const TBoxView&)>;

  ScriptedBoxes() { SetMessageBoxHook(this); }
  ~ScriptedBoxes() override { SetMessageBoxHook(nullptr); }

  void Answer(const QString& button, OnShown on_shown = nullptr) {
    script_.push_back({button, std::move(on_shown)});
  }
  int Press(const TBoxView& box) override;

  const std::vector<TBoxView>& shown() const { return shown_; }
  int unexpected() const { return unexpected_; }

 private:
  struct Step {
    QString button;
    OnShown on_shown;
  };
  std::deque<Step> script_;
  std::vector<TBoxView> shown_;
  int unexpected_ = 0;
};

// A converter that turns a file into its own bytes, or fails for a file it
// cannot read. It reports progress once per file, after calling
// `before_progress` when set.
class BytesConverter : public JpegConverter {
 public:
  Conversion Convert(const std::string& path, int quality, const ProgressFn& progress) override;
  std::function<void()> before_progress;
};

// The window over a temporary folder, with its settings file "shifrodel.ini"
// there.
class WindowHarness {
 public:
  WindowHarness();
  ~WindowHarness();

  TempDir& dir() { return dir_; }
  // Threads that convert ahead in the copy runs of windows made from now on.
  void set_workers(int workers) { workers_ = workers; }
  FaultyFileSystem& fs() { return fs_; }
  BytesConverter& converter() { return converter_; }
  std::string ini_path() const { return dir_ / "shifrodel.ini"; }
  void WriteIni(const std::string& text) const;
  std::string ReadIni() const { return dir_.ReadFile("shifrodel.ini"); }

  // Creates the window (its settings loaded); Show() also restores its
  // position.
  TfmMain& Create();
  TfmMain& Show();
  TfmMain& window() { return *window_; }
  // Destroys the window, which writes the settings.
  void Destroy() { window_.reset(); }

  template <typename T>
  T* Child(const char* name) {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }

 private:
  TempDir dir_;
  FaultyFileSystem fs_;
  BytesConverter converter_;
  int workers_ = 1;
  std::unique_ptr<TfmMain> window_;
};

// A folder browser that gives `result` (raw, before trimming) while it lives.
class ScriptedFolderBrowser {
 public:
  explicit ScriptedFolderBrowser(QString result);
  ~ScriptedFolderBrowser();
  int calls() const { return *calls_; }

 private:
  std::shared_ptr<int> calls_ = std::make_shared<int>(0);
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_APP_WINDOW_HARNESS_H_
