// A profile (INI) file read and written the way Windows treats them: section
// and key names compare without regard to case, blanks around names and
// values are ignored, a value in matching quotes loses them, and a write
// changes one line and keeps every other section, key and comment as it was.
// The text is Windows-1251 bytes, taken as they stand.
#ifndef SHIFRODEL_SETTINGS_PROFILE_FILE_H_
#define SHIFRODEL_SETTINGS_PROFILE_FILE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace shifrodel {

class ProfileFile {
 public:
  // Reads the file once; a missing or unreadable file reads as empty and is
  // created by the first write.
  ProfileFile(FileSystem& fs, std::string path);

  const std::string& path() const { return path_; }

  // The value under `key` in `section`, or nullopt when either is absent.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;

  // Sets `key` to `value` in `section` (adding either when missing) and
  // writes the whole file anew, atomically. Returns false when the file could
  // not be written; it then stays on disk as it was. Line breaks in `value`
  // become spaces, since a value is one line.
  bool Write(std::string_view section, std::string_view key, std::string_view value);

 private:
  // Index of the section's header line, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the key's line between a header and the next one, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;
  // Where a new key of the section goes: after its last non-blank line.
  std::size_t EndOfSection(std::size_t header) const;

  FileSystem& fs_;
  std::string path_;
  std::vector<std::string> lines_;
};

}  // namespace shifrodel

#endif  // SHIFRODEL_SETTINGS_PROFILE_FILE_H_
