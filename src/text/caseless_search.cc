#include "text/caseless_search.h"

#include <string>

#include "text/case_tables.h"

namespace shifrodel {

std::size_t FindCaseless(std::string_view text, std::string_view pattern, std::size_t start) {
  if (pattern.empty() || text.empty() || start >= text.size() ||
      pattern.size() > text.size() - start) {
    return std::string_view::npos;
  }
  const auto& upper = UpperCaseTable();
  const std::uint8_t first = upper[static_cast<std::uint8_t>(pattern[0])];
  const std::size_t last_start = text.size() - pattern.size();
  for (std::size_t i = start; i <= last_start; ++i) {
    if (upper[static_cast<std::uint8_t>(text[i])] != first) continue;
    std::size_t k = 1;
    while (k < pattern.size() && upper[static_cast<std::uint8_t>(text[i + k])] ==
                                     upper[static_cast<std::uint8_t>(pattern[k])]) {
      ++k;
    }
    if (k == pattern.size()) return i;
  }
  return std::string_view::npos;
}

}  // namespace shifrodel
