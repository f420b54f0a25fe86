// Trimming: all leading and trailing bytes 0x00-0x20 go. The no-break space
// 0xA0 is not a blank.
#ifndef SHIFRODEL_TEXT_TRIM_H_
#define SHIFRODEL_TEXT_TRIM_H_

#include <string_view>

namespace shifrodel {

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

}  // namespace shifrodel

#endif  // SHIFRODEL_TEXT_TRIM_H_
