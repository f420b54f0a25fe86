// The repack over a copy of every TIFF file of the shared corpus, checked
// with libtiff's own tools rather than with the re-encoder's check: for each
// replaced file, tiffdump lists the same tags (the encoding ones aside,
// the EXIF and GPS directories followed), and tiffcmp finds the same
// samples once both files are written out uncompressed by tiffcp. Every file
// that is not replaced is left byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "platform/file_system.h"
#include "repack/tiff_fixture.h"
#include "repack/tiff_repack.h"
#include "support/fake_clock.h"
#include "support/scripted_window.h"
#include "support/temp_dir.h"
#include "text/cp1251_codec.h"

namespace shifrodel::testing {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& utf8) {
  std::string out = "'";
  for (char c : utf8) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The standard output of a shell command, and whether it exited with 0.
bool Capture(const std::string& command, std::string* output) {
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return false;
  char buffer[65536];
  output->clear();
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output->append(buffer, n);
  }
  return pclose(pipe) == 0;
}

bool HaveTools() {
  std::string ignored;
  return Capture("command -v tiffdump && command -v tiffcp && command -v tiffcmp", &ignored);
}

const std::set<int> kEncodingTags = {259, 273, 278, 279, 292, 293, 317, 324, 325};
const std::set<int> kDirectoryTags = {34665, 34853, 40965};

struct DumpEntry {
  int tag;
  std::string value;
};

// A line of tiffdump: "ImageWidth (256) SHORT (3) 1<64>", or
// "65000 (0xfde8) ASCII (2) 5<text\0>" for a tag it has no name for.
std::optional<DumpEntry> ParseEntry(const std::string& line) {
  const std::size_t open = line.find(" (");
  const std::size_t close = line.find(')', open);
  const std::size_t values = line.find('<');
  if (open == std::string::npos || close == std::string::npos || values == std::string::npos ||
      !line.ends_with(">")) {
    return std::nullopt;
  }
  const std::string inside = line.substr(open + 2, close - open - 2);
  const std::string number = inside.starts_with("0x") ? line.substr(0, open) : inside;
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return DumpEntry{std::stoi(number), line.substr(values + 1, line.size() - values - 2)};
}

// tiffdump's listing of one directory and of the EXIF, GPS and
// Interoperability directories it points to, without the encoding tags and
// without offsets.
std::string DumpDirectory(const std::string& file, const std::string& offset_option, bool is_page) {
  std::string text;
  if (!Capture("tiffdump -m 100000000 " + offset_option + Quoted(file), &text)) return "<error>";
  std::istringstream lines(text);
  std::string kept;
  bool first_directory_seen = false;
  std::getline(lines, text);  // the file's name
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("Directory ")) {
      // With an offset, tiffdump goes on along the chain; one directory is enough.
      if (!offset_option.empty() && first_directory_seen) break;
      first_directory_seen = true;
      kept += "directory\n";
      continue;
    }
    const auto entry = ParseEntry(line);
    if (!entry) {
      kept += line + "\n";
      continue;
    }
    if (is_page && kEncodingTags.count(entry->tag) > 0) continue;
    if (kDirectoryTags.count(entry->tag) > 0) {
      kept += "tag " + std::to_string(entry->tag) + " points to:\n" +
              DumpDirectory(file, "-o " + entry->value + " ", false);
      continue;
    }
    kept += line + "\n";
  }
  return kept;
}

std::string Dump(const std::string& file) { return DumpDirectory(file, "", true); }

std::string Utf8ToCp1251OrDie(const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp1251(utf8, &out)) << utf8;
  return out;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// Both files written out uncompressed in strips by tiffcp, then compared by
// tiffcmp. tiffcmp cannot read tiles, and tiffcp cannot turn every tiled
// layout into strips, so tiled files (whose tile size the re-encoder keeps)
// are compared tile by tile as libtiff decodes them.
bool SameSamples(const std::string& a, const std::string& b, bool tiled,
                 const std::string& scratch) {
  if (tiled) {
    const auto pages = DecodedPages(Utf8ToCp1251OrDie(a));
    return !pages.empty() && pages == DecodedPages(Utf8ToCp1251OrDie(b));
  }
  std::string ignored;
  const std::string x = scratch + "/a.tif", y = scratch + "/b.tif";
  return Capture("tiffcp -c none -s " + Quoted(a) + " " + Quoted(x), &ignored) &&
         Capture("tiffcp -c none -s " + Quoted(b) + " " + Quoted(y), &ignored) &&
         Capture("tiffcmp -t " + Quoted(x) + " " + Quoted(y), &ignored);
}

TEST(RepackCorpus, ReplacesOnlyFilesThatKeepEverything) {
  const char* root = std::getenv("SHIFRODEL_CORPUS");
  if (root == nullptr || !fs::is_directory(fs::path(root) / "tiff")) {
    GTEST_SKIP() << "no corpus (SHIFRODEL_CORPUS)";
  }
  if (!HaveTools()) GTEST_SKIP() << "tiffdump, tiffcp or tiffcmp is missing (libtiff-tools)";

  TempDir dir;
  const fs::path work = Cp1251ToUtf8(dir / "work");
  const std::string scratch = Cp1251ToUtf8(dir.path());
  const fs::path corpus = fs::path(root) / "tiff";
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = work / fs::relative(entry.path(), corpus);
    fs::create_directories(target.parent_path());
    fs::copy_file(entry.path(), target);
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
  }

  TRunState state;
  ScriptedWindow window;
  FakeClock clock;
  JobContext job{state, window, NativeFileSystem(), clock};
  TRepackOptions options;
  options.SourceFolder = dir / "work";
  std::vector<TRepackOutcome> outcomes;
  options.OnFileDone = [&](const TRepackOutcome& o) { outcomes.push_back(o); };
  RunRepack(job, options);

  int replaced = 0;
  for (const TRepackOutcome& o : outcomes) {
    const std::string repacked = Cp1251ToUtf8(o.path);
    const fs::path original = corpus / fs::relative(repacked, work);
    SCOPED_TRACE(original.string() + ": " + o.reason);
    if (o.result != TRepackResult::kReplaced) {
      EXPECT_EQ(ReadAll(repacked), ReadAll(original));
      continue;
    }
    ++replaced;
    const std::string tags = Dump(original.string());
    EXPECT_EQ(Dump(repacked), tags);
    const bool tiled = tags.find("(322)") != std::string::npos;
    EXPECT_TRUE(SameSamples(original.string(), repacked, tiled, scratch));
    std::string listing;
    Capture("tiffdump " + Quoted(repacked), &listing);
    EXPECT_EQ(listing.find("Compression (259) SHORT (3) 1<1>"), std::string::npos);
  }
  EXPECT_GT(replaced, 40);
  for (const auto& entry : fs::recursive_directory_iterator(work)) {
    EXPECT_FALSE(entry.path().string().ends_with("_")) << "left behind: " << entry.path();
  }
}

}  // namespace
}  // namespace shifrodel::testing
