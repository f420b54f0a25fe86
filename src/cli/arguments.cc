#include "cli/arguments.h"

#include "text/cp1251_codec.h"

#ifdef _WIN32
#include <io.h>
#include <shellapi.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace shifrodel::cli {

std::optional<std::vector<std::string>> ArgumentsAsCp1251(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  (void)argv;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count && wide != nullptr; ++i) {
    const std::wstring arg = wide[i];
    std::string out;
    if (!Utf16ToCp1251(std::u16string(arg.begin(), arg.end()), &out)) {
      std::fprintf(
          stderr,
          "shifrodel-batch: argument %d has characters that Windows-1251 cannot represent\n", i);
      LocalFree(wide);
      return std::nullopt;
    }
    args.push_back(std::move(out));
  }
  if (wide != nullptr) LocalFree(wide);
  (void)argc;
#else
  for (int i = 1; i < argc; ++i) {
    std::string out;
    if (!Utf8ToCp1251(argv[i], &out)) {
      std::fprintf(stderr,
                   "shifrodel-batch: argument %d (\"%s\") has characters that Windows-1251 cannot "
                   "represent\n",
                   i, argv[i]);
      return std::nullopt;
    }
    args.push_back(std::move(out));
  }
#endif
  return args;
}

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return ::isatty(::fileno(stream)) != 0;
#endif
}

void Print(std::FILE* stream, std::string_view cp1251) {
  const std::string utf8 = Cp1251ToUtf8(cp1251);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

void PrintLine(std::FILE* stream, std::string_view cp1251) {
  Print(stream, cp1251);
  std::fputc('\n', stream);
}

}  // namespace shifrodel::cli
