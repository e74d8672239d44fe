/** @file DateTime.h: a local calendar date-time and its packed DOS form. */
#pragma once

#include <cstdint>
#include <optional>

namespace brontel::platform {

// A moment on the local wall clock, with plain field values (month 1..12, day 1..31,
// hour 0..23, millisecond 0..999). No validation happens on construction.
struct DateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// True when every field lies in its range, the day included (leap years count).
bool IsValidDateTime(const DateTime& value);

// Packs a local date-time into the DOS form: date in the high 16 bits (year-1980 in bits 9..15,
// month in 5..8, day in 0..4), time in the low 16 bits (hour in 11..15, minute in 5..10,
// second/2 in 0..4). Odd seconds round down and milliseconds are dropped (2-second
// resolution). Years outside 1980..2107 and invalid values give -1.
std::int32_t DosDateTimeFromLocal(const DateTime& value);

// Unpacks the DOS form. Fails (nullopt) when the fields do not form a valid date and time,
// which is the case for 0 and for -1.
std::optional<DateTime> LocalFromDosDateTime(std::int32_t packed);

}  // namespace brontel::platform
