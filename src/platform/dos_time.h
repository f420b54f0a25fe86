// DOS dates and times: local time packed into 32 bits with two-second
// precision, the form in which the program carries a file's last-write time.
#ifndef SHIFRODEL_PLATFORM_DOS_TIME_H_
#define SHIFRODEL_PLATFORM_DOS_TIME_H_

#include <cstdint>
#include <optional>

namespace shifrodel {

struct LocalDateTime {
  int year = 1980;  // 1980-2107
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;  // even after a round trip
};

// nullopt for a date outside 1980-2107, which DOS times cannot hold.
std::optional<std::uint32_t> PackDosTime(const LocalDateTime& t);
LocalDateTime UnpackDosTime(std::uint32_t dos_time);
// False for a packed value that names no real moment (month 13, 30 February,
// hour 24, ...), which no file can be given.
bool IsValidDosTime(std::uint32_t dos_time);

}  // namespace shifrodel

#endif  // SHIFRODEL_PLATFORM_DOS_TIME_H_
