// Test texts written as UTF-8 in the source, turned into the core's
// Windows-1251 at run time (for tables of cases, where literals cannot be
// "..."_cp1251 template arguments).
#ifndef SHIFRODEL_TESTS_SUPPORT_TEST_TEXT_H_
#define SHIFRODEL_TESTS_SUPPORT_TEST_TEXT_H_

#include <string>
#include <string_view>

namespace shifrodel::testing {

// UTF-8 to Windows-1251; fails the current test for a character without one.
std::string W(std::string_view utf8);

// Windows-1251 to UTF-8, for messages.
std::string U(std::string_view cp1251);

// A path written with "\" as the separator, in the platform's own form.
std::string NativeSeparators(std::string_view utf8_path);

}  // namespace shifrodel::testing

#endif  // SHIFRODEL_TESTS_SUPPORT_TEST_TEXT_H_
