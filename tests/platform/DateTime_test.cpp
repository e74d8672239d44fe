#include "platform/DateTime.h"

#include <gtest/gtest.h>

namespace brontel::platform {
namespace {

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return DateTime{year, month, day, hour, minute, second, 0};
}

TEST(DosDateTime, PacksDateHighAndTimeLowWithTwoSecondSteps) {
  // 2026-12-08 06:00:10: date (46 << 9 | 12 << 5 | 8), time (6 << 11 | 0 << 5 | 5).
  const std::int32_t packed = DosDateTimeFromLocal(At(2026, 12, 8, 6, 0, 10));
  EXPECT_EQ(static_cast<std::uint32_t>(packed) >> 16, (46u << 9) | (12u << 5) | 8u);
  EXPECT_EQ(static_cast<std::uint32_t>(packed) & 0xFFFFu, (6u << 11) | 5u);
  // Odd seconds and milliseconds fall to the even second below.
  DateTime odd = At(2026, 12, 8, 6, 0, 11);
  odd.millisecond = 999;
  EXPECT_EQ(DosDateTimeFromLocal(odd), packed);
}

TEST(DosDateTime, RoundTripsEveryFieldAcrossTheRange) {
  for (const DateTime& value : {At(1980, 1, 1), At(2024, 2, 29, 23, 59, 58),
                                At(2107, 12, 31, 12, 34, 56), At(2000, 6, 15, 1, 2, 4)}) {
    const std::optional<DateTime> back = LocalFromDosDateTime(DosDateTimeFromLocal(value));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, value);
  }
}

TEST(DosDateTime, YearsOutsideTheDosRangeAndInvalidDatesGiveMinusOne) {
  EXPECT_EQ(DosDateTimeFromLocal(At(1979, 12, 31, 23, 59, 58)), -1);
  EXPECT_EQ(DosDateTimeFromLocal(At(2108, 1, 1)), -1);
  EXPECT_EQ(DosDateTimeFromLocal(At(2023, 2, 29)), -1);
  EXPECT_EQ(DosDateTimeFromLocal(At(2023, 4, 31)), -1);
  EXPECT_EQ(DosDateTimeFromLocal(At(2023, 1, 1, 24)), -1);
}

TEST(DosDateTime, DecodingFailsForNoSnapshotAndMissingFile) {
  EXPECT_FALSE(LocalFromDosDateTime(0).has_value());   // month 0, day 0
  EXPECT_FALSE(LocalFromDosDateTime(-1).has_value());  // month 15, hour 31
  // Day 31 of a 30-day month and 30 seconds * 2 = 60 are not valid either.
  EXPECT_FALSE(LocalFromDosDateTime(static_cast<std::int32_t>(((46u << 9 | 4u << 5 | 31u) << 16))));
  EXPECT_FALSE(
      LocalFromDosDateTime(static_cast<std::int32_t>(((46u << 9 | 4u << 5 | 1u) << 16) | 30u)));
}

TEST(DosDateTime, LateYearsUseTheSignBitAndStillDecode) {
  const std::int32_t packed = DosDateTimeFromLocal(At(2100, 3, 1, 8, 30, 0));
  EXPECT_LT(packed, 0);
  ASSERT_TRUE(LocalFromDosDateTime(packed).has_value());
  EXPECT_EQ(LocalFromDosDateTime(packed)->year, 2100);
}

TEST(IsValidDateTime, KnowsLeapYears) {
  EXPECT_TRUE(IsValidDateTime(At(2000, 2, 29)));
  EXPECT_FALSE(IsValidDateTime(At(1900, 2, 29)));
  EXPECT_TRUE(IsValidDateTime(At(2024, 2, 29)));
  EXPECT_FALSE(IsValidDateTime(At(2024, 13, 1)));
}

}  // namespace
}  // namespace brontel::platform
