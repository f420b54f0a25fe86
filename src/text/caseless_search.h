// Case-insensitive search in Windows-1251 text: bytes compare equal when
// their upper-case forms do.
#ifndef SHIFRODEL_TEXT_CASELESS_SEARCH_H_
#define SHIFRODEL_TEXT_CASELESS_SEARCH_H_

#include <cstddef>
#include <string_view>

namespace shifrodel {

// The first index at or after `start` where `pattern` occurs in `text`
// without regard to case, or npos (also for an empty pattern or text).
std::size_t FindCaseless(std::string_view text, std::string_view pattern, std::size_t start = 0);

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_CASELESS_SEARCH_H_
