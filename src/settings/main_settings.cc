#include "settings/main_settings.h"

#include <array>
#include <utility>

#include "text/int_text.h"
#include "text/path_rules.h"

namespace shifrodel {
namespace {

constexpr std::string_view kSection = "Main";
// Strings come back cut to this length, as through a 2048-byte buffer.
constexpr std::size_t kMaxString = 2047;
constexpr std::string_view kDefaultPrefix = "DVD#001";

// The four existing-file keys, in the order they are read and written.
constexpr std::array<std::pair<std::string_view, TExistingFilePolicy>, 4> kExistingFileKeys{{
    {"ExcistsLeave", TExistingFilePolicy::efLeave},
    {"ExcistsAns", TExistingFilePolicy::efAsk},
    {"ExcistsRename", TExistingFilePolicy::efRename},
    {"ExcistsRewrite", TExistingFilePolicy::efRewrite},
}};

class Reader {
 public:
  explicit Reader(const ProfileFile& file) : file_(file) {}

  std::string String(std::string_view key, const std::string& fallback) const {
    const auto value = file_.Read(kSection, key);
    if (!value) return fallback;
    return value->substr(0, kMaxString);
  }
  std::int32_t Integer(std::string_view key, std::int32_t fallback) const {
    const auto value = file_.Read(kSection, key);
    return value ? IntTextOr(*value, fallback) : fallback;
  }
  bool Boolean(std::string_view key, bool fallback) const {
    return Integer(key, fallback ? 1 : 0) != 0;
  }

 private:
  const ProfileFile& file_;
};

// A key read as true selects its option and clears the others; one read as
// false clears only its own. So the last true key wins, and with none true
// nothing is selected.
std::optional<TExistingFilePolicy> LoadExistingFiles(const Reader& read) {
  std::optional<TExistingFilePolicy> selected;
  for (const auto& [key, policy] : kExistingFileKeys) {
    const bool on = read.Boolean(key, policy == TExistingFilePolicy::efRewrite);
    if (on) {
      selected = policy;
    } else if (selected == policy) {
      selected.reset();
    }
  }
  return selected;
}

}  // namespace

std::string SettingsPath(std::string_view executable_path) {
  return ChangeFileExt(executable_path, ".ini");
}

TMainSettings LoadSettings(const ProfileFile& file, const TMainSettings& current) {
  const Reader read(file);
  TMainSettings loaded;
  loaded.Position = current.Position;
  loaded.DirSource = read.String("DirSource", current.DirSource);
  loaded.DirDest = read.String("DirDest", current.DirDest);
  loaded.CopyOther = read.Boolean("CopyOther", current.CopyOther);
  loaded.DirDestOther = read.String("DirDestOther", current.DirDestOther);
  loaded.Pack = read.String("Pack", current.Pack);
  loaded.ExistingFiles = LoadExistingFiles(read);
  loaded.JpegConvert = read.Boolean("rgJPEG", true);
  loaded.PrefixOn = read.Boolean("cbPref", true);
  loaded.Prefix = read.String("edPref", std::string(kDefaultPrefix));
  return loaded;
}

TWindowPosition LoadPosition(const ProfileFile& file, const TWindowPosition& current) {
  const Reader read(file);
  TWindowPosition position;
  position.Left = read.Integer("Left", current.Left);
  position.Top = read.Integer("Top", current.Top);
  return position;
}

bool SaveSettings(ProfileFile& file, const TMainSettings& settings) {
  const auto text = [&file](std::string_view key, std::string_view value) {
    return file.Write(kSection, key, value);
  };
  const auto boolean = [&text](std::string_view key, bool value) {
    return text(key, value ? "1" : "0");
  };
  if (!text("Left", std::to_string(settings.Position.Left))) return false;
  if (!text("Top", std::to_string(settings.Position.Top))) return false;
  if (!text("DirSource", settings.DirSource)) return false;
  if (!text("DirDest", settings.DirDest)) return false;
  if (!boolean("CopyOther", settings.CopyOther)) return false;
  if (!text("DirDestOther", settings.DirDestOther)) return false;
  if (!text("Pack", settings.Pack)) return false;
  for (const auto& [key, policy] : kExistingFileKeys) {
    if (!boolean(key, settings.ExistingFiles == policy)) return false;
  }
  if (!boolean("rgJPEG", settings.JpegConvert)) return false;
  if (!boolean("cbPref", settings.PrefixOn)) return false;
  return text("edPref", settings.Prefix);
}

}  // namespace shifrodel
