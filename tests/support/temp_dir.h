// A fresh temporary folder for one test, removed with everything in it when
// the test ends. Paths are Windows-1251, like every path in the core.
#ifndef SHIFRODEL_TESTS_SUPPORT_TEMP_DIR_H_
#define SHIFRODEL_TESTS_SUPPORT_TEMP_DIR_H_

#include <string>
#include <string_view>

namespace shifrodel::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + separator + relative (relative may hold separators itself).
  std::string operator/(std::string_view relative) const;

  // Writes a file (creating its folders) and returns its full path.
  std::string WriteFile(std::string_view relative, std::string_view content) const;
  // The file's content, or "<missing>" when it cannot be read.
  std::string ReadFile(std::string_view relative) const;

 private:
  std::string path_;
};

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_TEMP_DIR_H_
