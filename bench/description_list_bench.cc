// The cost of one SetFileDescription against the size of the list: a list of
// N lines (1, 1,000 and 10,000) in a temporary folder has one line replaced
// and, separately, one line added per iteration. The list is read, changed
// and written back whole, so the cost grows linearly with its size; the
// complexity fit at the end of each group says so (or shows otherwise).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "descr/description_list.h"
#include "platform/file_system.h"
#include "text/cp1251_codec.h"
#include "text/path_rules.h"

namespace {

using shifrodel::JoinPath;
using shifrodel::NativeFileSystem;

struct ListFolder {
  explicit ListFolder(int lines) {
    path =
        std::filesystem::temp_directory_path() / ("shifrodel-bench-descr-" + std::to_string(lines));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    shifrodel::Utf8ToCp1251(path.string(), &folder);
    for (int i = 0; i < lines; ++i) {
      list += "scan" + std::to_string(i) + ".jpg \"G:\\Photo\\F.   12\\scan" + std::to_string(i) +
              ".jpg\" DVD#001\\C:\\Scans\\f 12 op 1 d 45 l " + std::to_string(i) + ".tif\r\n";
    }
    Reset();
  }
  ~ListFolder() { std::filesystem::remove_all(path); }
  void Reset() const {
    NativeFileSystem().WriteFileAtomically(JoinPath(folder, "descript.ion"), list);
  }

  std::filesystem::path path;
  std::string folder;
  std::string list;
};

// Replaces the line of a name in the middle of the list: the list keeps its size.
void BM_ReplaceLine(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  ListFolder folder(lines);
  const std::string file = JoinPath(folder.folder, "scan" + std::to_string(lines / 2) + ".jpg");
  int n = 0;
  for (auto _ : state) {
    shifrodel::SetFileDescription(NativeFileSystem(), file, "new text " + std::to_string(++n));
  }
  state.SetComplexityN(lines);
}

// Adds the line of a new name at the end; the list is put back between runs.
void BM_AddLine(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  ListFolder folder(lines);
  const std::string file = JoinPath(folder.folder, "new.jpg");
  for (auto _ : state) {
    shifrodel::SetFileDescription(NativeFileSystem(), file, "from somewhere");
    state.PauseTiming();
    folder.Reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(lines);
}

BENCHMARK(BM_ReplaceLine)->Arg(1)->Arg(1000)->Arg(10000)->Complexity();
BENCHMARK(BM_AddLine)->Arg(1)->Arg(1000)->Arg(10000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
