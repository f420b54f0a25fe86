// Makes a folder the process's working folder for the lifetime of the
// object (fp.log is written there), then goes back.
#ifndef SHIFRODEL_TESTS_SUPPORT_WORKING_FOLDER_H_
#define SHIFRODEL_TESTS_SUPPORT_WORKING_FOLDER_H_

#include <filesystem>

namespace shifrodel::testing {

class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~ScopedWorkingFolder() { std::filesystem::current_path(previous_); }
  ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
  ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_WORKING_FOLDER_H_
