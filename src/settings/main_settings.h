// The main window's settings as the INI file beside the executable keeps
// them: fourteen keys in the section "Main", read when the window is created
// and first shown, and all written back when it is destroyed.
#ifndef SHIFRODEL_SETTINGS_MAIN_SETTINGS_H_
#define SHIFRODEL_SETTINGS_MAIN_SETTINGS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "run/run_options.h"
#include "settings/profile_file.h"

namespace shifrodel {

struct TWindowPosition {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
};

// What the keys hold; all text is Windows-1251.
struct TMainSettings {
  TWindowPosition Position;                          // Left, Top
  std::string DirSource;                             // edDirSrc
  std::string DirDest;                               // edDirDest
  bool CopyOther = true;                             // cbCopyOther
  std::string DirDestOther;                          // edDirDestOther
  std::string Pack;                                  // edPack, as shown ("75%")
  std::optional<TExistingFilePolicy> ExistingFiles;  // the four Excists keys; none selected
  bool JpegConvert = true;                           // rgJPEG: rbJPEGConvert, else rbJPEGCopy
  bool PrefixOn = true;                              // cbPref
  std::string Prefix;                                // edPref
};

// The executable's path with its extension replaced by ".ini" (appended
// when it has none).
std::string SettingsPath(std::string_view executable_path);

// Every key but the position, in the order the window is loaded. The folder
// fields, edPack and cbCopyOther fall back on the controls' current values
// in `current`; the other keys have defaults of their own. Position is
// copied from `current` unchanged.
TMainSettings LoadSettings(const ProfileFile& file, const TMainSettings& current);

// Left, then Top, each falling back on the current edge.
TWindowPosition LoadPosition(const ProfileFile& file, const TWindowPosition& current);

// Writes all fourteen keys in their order. Stops at the first key that
// cannot be written and returns false; the keys after it are not written.
bool SaveSettings(ProfileFile& file, const TMainSettings& settings);

}  // namespace shifrodel

#endif  // SHIFRODEL_SETTINGS_MAIN_SETTINGS_H_
