#include "platform/dos_time.h"

namespace shifrodel {

std::optional<std::uint32_t> PackDosTime(const LocalDateTime& t) {
  if (t.year < 1980 || t.year > 2107) return std::nullopt;
  const auto date = static_cast<std::uint32_t>((t.year - 1980) << 9 | t.month << 5 | t.day);
  const auto time = static_cast<std::uint32_t>(t.hour << 11 | t.minute << 5 | t.second / 2);
  return date << 16 | time;
}

LocalDateTime UnpackDosTime(std::uint32_t dos_time) {
  const std::uint32_t date = dos_time >> 16;
  const std::uint32_t time = dos_time & 0xFFFF;
  LocalDateTime t;
  t.year = static_cast<int>(1980 + (date >> 9));
  t.month = static_cast<int>(date >> 5 & 0x0F);
  t.day = static_cast<int>(date & 0x1F);
  t.hour = static_cast<int>(time >> 11);
  t.minute = static_cast<int>(time >> 5 & 0x3F);
  t.second = static_cast<int>((time & 0x1F) * 2);
  return t;
}

bool IsValidDosTime(std::uint32_t dos_time) {
  const LocalDateTime t = UnpackDosTime(dos_time);
  if (t.month < 1 || t.month > 12 || t.hour > 23 || t.minute > 59 || t.second > 59) return false;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = t.year % 4 == 0 && (t.year % 100 != 0 || t.year % 400 == 0);
  const int days = t.month == 2 && !leap ? 28 : kDays[t.month - 1];
  return t.day >= 1 && t.day <= days;
}

}  // namespace shifrodel
