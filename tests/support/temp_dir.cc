#include "support/temp_dir.h"

#include <filesystem>
#include <random>

#include "platform/file_system.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace shifrodel::testing {
namespace {

std::filesystem::path NativePath(const std::string& cp1251) {
#ifdef _WIN32
  const std::u16string wide = Cp1251ToUtf16(cp1251);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
  return std::filesystem::path(Cp1251ToUtf8(cp1251));
#endif
}

std::string FromNative(const std::filesystem::path& path) {
  std::string out;
#ifdef _WIN32
  const std::wstring wide = path.wstring();
  Utf16ToCp1251(std::u16string(wide.begin(), wide.end()), &out);
#else
  Utf8ToCp1251(path.string(), &out);
#endif
  return out;
}

}  // namespace

TempDir::TempDir() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    const auto candidate = base / ("shifrodel-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = FromNative(candidate);
      break;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Make read-only entries removable first.
  for (auto it = std::filesystem::recursive_directory_iterator(NativePath(path_), ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(NativePath(path_), ignored);
}

std::string TempDir::operator/(std::string_view relative) const {
  return JoinPath(path_, relative);
}

std::string TempDir::WriteFile(std::string_view relative, std::string_view content) const {
  const std::string path = *this / relative;
  FileSystem& fs = NativeFileSystem();
  fs.ForceFolders(std::string(ExtractFileFolder(path)));
  auto file = fs.CreateWrite(path);
  if (file) {
    file->Write(content.data(), content.size());
    file->Close();
  }
  return path;
}

std::string TempDir::ReadFile(std::string_view relative) const {
  return NativeFileSystem().ReadWholeFile(*this / relative).value_or("<missing>");
}

}  // namespace shifrodel::testing
