#include "platform/DateTime.h"

namespace brontel::platform {
namespace {

constexpr int kFirstDosYear = 1980;
constexpr int kLastDosYear = 2107;

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidDateTime(const DateTime& value) {
  if (value.year < 1 || value.year > 9999)
    return false;
  if (value.month < 1 || value.month > 12)
    return false;
  if (value.day < 1 || value.day > DaysInMonth(value.year, value.month))
    return false;
  return value.hour >= 0 && value.hour < 24 && value.minute >= 0 && value.minute < 60 &&
         value.second >= 0 && value.second < 60 && value.millisecond >= 0 &&
         value.millisecond < 1000;
}

std::int32_t DosDateTimeFromLocal(const DateTime& value) {
  if (!IsValidDateTime(value) || value.year < kFirstDosYear || value.year > kLastDosYear) {
    return -1;
  }
  const std::uint32_t date = (static_cast<std::uint32_t>(value.year - kFirstDosYear) << 9) |
                             (static_cast<std::uint32_t>(value.month) << 5) |
                             static_cast<std::uint32_t>(value.day);
  const std::uint32_t time = (static_cast<std::uint32_t>(value.hour) << 11) |
                             (static_cast<std::uint32_t>(value.minute) << 5) |
                             static_cast<std::uint32_t>(value.second / 2);
  return static_cast<std::int32_t>((date << 16) | time);
}

std::optional<DateTime> LocalFromDosDateTime(std::int32_t packed) {
  const auto bits = static_cast<std::uint32_t>(packed);
  const std::uint32_t date = bits >> 16;
  const std::uint32_t time = bits & 0xFFFFu;
  DateTime value;
  value.year = kFirstDosYear + static_cast<int>(date >> 9);
  value.month = static_cast<int>((date >> 5) & 0x0Fu);
  value.day = static_cast<int>(date & 0x1Fu);
  value.hour = static_cast<int>(time >> 11);
  value.minute = static_cast<int>((time >> 5) & 0x3Fu);
  value.second = static_cast<int>(time & 0x1Fu) * 2;
  if (!IsValidDateTime(value))
    return std::nullopt;
  return value;
}

}  // namespace brontel::platform
