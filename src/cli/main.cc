// shifrodel-batch: runs the program's jobs from a console, with the same
// core as the window.
#include <cstdio>
#include <cstring>

#include "cli/arguments.h"
#include "cli/commands.h"

namespace shifrodel::cli {
namespace {

constexpr Command kCommands[] = {
    {"cipher", "NAME...", "print the cipher read from each file name", RunCipher},
    {"place", "[--no-other] SOURCE_ROOT TARGET_ROOT OTHER_ROOT PATH...",
     "print where each file would go", RunPlace},
    {"describe", "FILE DESCRIPTION", "set the file's line in its folder's descript.ion",
     RunDescribe},
    {"free", "PATH", "print the free megabytes of PATH's disk and the window's label for it",
     RunFree},
    {"convert", "[--quality N] SOURCE DEST", "convert one image into a JPEG file", RunConvert},
    {"copy",
     "[--quality TEXT] [--existing leave|ask|rename|rewrite] [--jpeg convert|copy] [--no-other]\n"
     "        [--prefix TEXT] [--jobs N] [--dry-run] SOURCE DEST [OTHER]",
     "copy a tree of scans into the archive tree", RunCopyCommand, kExitCopyUsage},
    {"repack", "[--verbose] FOLDER", "re-save the TIFF files of FOLDER's tree with LZW, in place",
     RunRepackCommand, kExitCopyUsage},
};

void PrintHelp(std::FILE* stream) {
  std::fputs("usage: shifrodel-batch COMMAND [ARGUMENTS]\n\ncommands:\n", stream);
  for (const Command& c : kCommands) {
    std::fprintf(stream, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
  }
}

int Main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintHelp(argc < 2 ? stderr : stdout);
    return argc < 2 ? kExitBadArguments : 0;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    const auto args = ArgumentsAsCp1251(argc, argv);
    if (!args) return c.bad_arguments_status;
    return c.run(Arguments(args->begin() + 1, args->end()));
  }
  std::fprintf(stderr, "shifrodel-batch: unknown command \"%s\"\n\n", argv[1]);
  PrintHelp(stderr);
  return kExitBadArguments;
}

}  // namespace
}  // namespace shifrodel::cli

int main(int argc, char** argv) { return shifrodel::cli::Main(argc, argv); }
