#include "imaging/corpus_files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "imaging/convert.h"
#include "platform/file_system.h"

namespace shifrodel::testing {

std::optional<std::string> CorpusFolder(const std::string& relative) {
  const char* root = std::getenv("SHIFRODEL_CORPUS");
  if (root == nullptr || *root == '\0') return std::nullopt;
  const std::filesystem::path folder = std::filesystem::path(root) / relative;
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
  return folder.string();
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<DecoderOutput> DecodeFile(OpenDecoderFn open, const std::string& path) {
  std::unique_ptr<File> file = NativeFileSystem().OpenRead(path);
  if (!file) return std::nullopt;
  return DecodeAll(open, *file);
}

std::optional<std::string> ConvertFile(const std::string& path, SourceFormat format) {
  std::unique_ptr<File> file = NativeFileSystem().OpenRead(path);
  if (!file) return std::nullopt;
  return ConvertToJpeg(*file, format, 80, nullptr);
}

}  // namespace shifrodel::testing
