#include "platform/LocaleTexts.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "platform/Clock.h"
#include "tests/support/ScopedVariable.h"

namespace brontel::platform {
namespace {

const DateTime kMorning{2026, 12, 8, 6, 0, 0, 0};

TEST(LocaleTexts, NeutralLocaleFormats) {
  const testing::ScopedVariable locale("LC_ALL", "C");
  EXPECT_EQ(ShortDateText(kMorning), "12/08/26");
  EXPECT_EQ(LongTimeText(kMorning), "06:00:00");
  EXPECT_EQ(LongTimeText(DateTime{2026, 1, 2, 23, 4, 5, 999}), "23:04:05");
  EXPECT_EQ(DateTimeText(kMorning), "12/08/26 06:00:00");
  EXPECT_EQ(DateSeparator(), '/');
  EXPECT_EQ(TimeSeparator(), ':');
}

TEST(LocaleTexts, UnknownLocaleFallsBackToNeutralFormats) {
  const testing::ScopedVariable locale("LC_ALL", "xx_NOWHERE.UTF-8");
  EXPECT_EQ(DateTimeText(kMorning), "12/08/26 06:00:00");
  EXPECT_EQ(DateSeparator(), '/');
}

TEST(LocaleTexts, FollowsAChangedEnvironmentAtOnce) {
  std::string first;
  {
    const testing::ScopedVariable locale("LC_ALL", "C");
    first = DateTimeText(kMorning);
  }
  const testing::ScopedVariable locale("LC_ALL", "POSIX");
  EXPECT_EQ(DateTimeText(kMorning), first);
}

TEST(SystemClock, TicksAdvanceAndNowIsAValidLocalTime) {
  const Clock& clock = SystemClock();
  const std::uint32_t before = clock.TickCount();
  const DateTime now = clock.Now();
  EXPECT_TRUE(IsValidDateTime(now));
  EXPECT_GE(now.year, 2024);
  // Wrapping arithmetic: the difference of two readings is small and never "negative".
  EXPECT_LT(clock.TickCount() - before, 1000u);
}

}  // namespace
}  // namespace brontel::platform
