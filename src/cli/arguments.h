// The console's side of the text rules: arguments arrive in the console's
// encoding (UTF-8 on Linux, UTF-16 on Windows) and become Windows-1251;
// output goes back the other way.
#ifndef SHIFRODEL_CLI_ARGUMENTS_H_
#define SHIFRODEL_CLI_ARGUMENTS_H_

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shifrodel::cli {

// The arguments after the program's name, as Windows-1251. Prints a message
// naming the first argument that Windows-1251 cannot represent and returns
// nullopt.
std::optional<std::vector<std::string>> ArgumentsAsCp1251(int argc, char** argv);

// Writes Windows-1251 text to a console stream in the console's encoding.
void Print(std::FILE* stream, std::string_view cp1251);
void PrintLine(std::FILE* stream, std::string_view cp1251);

// True when the stream is a terminal (a person watches it).
bool IsTerminal(std::FILE* stream);

// Exit status for wrong usage of cipher, place and other simple commands,
// and for an argument that Windows-1251 cannot represent.
inline constexpr int kExitBadArguments = 2;

}  // namespace shifrodel::cli

#endif  // SHIFRODEL_CLI_ARGUMENTS_H_
