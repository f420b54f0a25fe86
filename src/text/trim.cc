#include "text/trim.h"

namespace shifrodel {

std::string_view TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

}  // namespace shifrodel
