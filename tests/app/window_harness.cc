#include "window_harness.h"

#include "app/folder_browser.h"
#include "platform/clock.h"

namespace shifrodel::testing {

int ScriptedBoxes::Press(const TBoxView& box) {
  shown_.push_back(box);
  if (script_.empty()) {
    ++unexpected_;
    return box.escape_button;
  }
  Step step = std::move(script_.front());
  script_.pop_front();
  if (step.on_shown) step.on_shown(box);
  const int index = box.buttons.indexOf(step.button);
  if (index < 0) ++unexpected_;
  return index < 0 ? box.escape_button : index;
}

Conversion BytesConverter::Convert(const std::string& path, int, const ProgressFn& progress) {
  std::optional<std::string> bytes = NativeFileSystem().ReadWholeFile(path);
  if (!bytes) return Conversion::Failed(ConversionFailure::kCannotOpen);
  if (before_progress) before_progress();
  if (progress) progress();
  return {ConversionFailure::kNone, std::move(*bytes)};
}

WindowHarness::WindowHarness() = default;
WindowHarness::~WindowHarness() = default;

void WindowHarness::WriteIni(const std::string& text) const {
  dir_.WriteFile("shifrodel.ini", text);
}

TfmMain& WindowHarness::Create() {
  window_ = std::make_unique<TfmMain>(
      MainWindowEnvironment{fs_, SystemClock(), converter_, ini_path(), workers_});
  return *window_;
}

TfmMain& WindowHarness::Show() {
  if (!window_) Create();
  window_->show();
  return *window_;
}

ScriptedFolderBrowser::ScriptedFolderBrowser(QString result) {
  SetFolderBrowserHook([result, calls = calls_] {
    ++*calls;
    return result;
  });
}

ScriptedFolderBrowser::~ScriptedFolderBrowser() { SetFolderBrowserHook(nullptr); }

}  // namespace shifrodel::testing
