#include "viewer/TailText.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/DateTime.h"
#include "platform/LocaleTexts.h"

namespace brontel {
namespace {

class TailStatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    ::setenv("LC_ALL", "C", 1);
#endif
  }

  // The snapshot's age as the status shows it: the C locale's text on POSIX; on Windows the
  // user's locale writes it, whichever that is.
  static std::string Age() {
#ifdef _WIN32
    return platform::DateTimeText(platform::DateTime{2026, 12, 8, 6, 0, 0, 0});
#else
    return "12/08/26 06:00:00";
#endif
  }

  static fileInfo Snapshot(std::uint64_t size) {
    fileInfo info;
    info.path = "/var/log/app.log";
    info.age = platform::DosDateTimeFromLocal(platform::DateTime{2026, 12, 8, 6, 0, 0, 0});
    info.sizeHigh = static_cast<std::uint32_t>(size >> 32);
    info.sizeLow = static_cast<std::uint32_t>(size);
    return info;
  }
};

TEST_F(TailStatusTest, NameSizeDateAndBuffer) {
  EXPECT_EQ(TailStatusText("app.log", Snapshot(12595), 20480),
            "app.log  [12.3 KB] [" + Age() + "] [Buffer:20 KB]");
  EXPECT_EQ(TailStatusText("app.log", Snapshot(3000), 5120),
            "app.log  [3000 Bytes] [" + Age() + "] [Buffer:5 KB]");
}

TEST_F(TailStatusTest, BufferIsShownInWholeKilobytes) {
  EXPECT_TRUE(TailStatusText("a", Snapshot(1), 256000)->ends_with("[Buffer:250 KB]"));
  EXPECT_TRUE(TailStatusText("a", Snapshot(1), 1048576)->ends_with("[Buffer:1024 KB]"));
}

TEST_F(TailStatusTest, ShowsTheTrueSizeOfFilesBeyondFourGibibytes) {
  // The low half alone would read 1.00 GB here.
  EXPECT_EQ(TailStatusText("a", Snapshot((std::uint64_t{1} << 32) + 1073741824), 5120),
            "a  [5.00 GB] [" + Age() + "] [Buffer:5 KB]");
}

TEST_F(TailStatusTest, NoTextBeforeASnapshotAndTheLastWriteTimeForAnAgeWithoutDosForm) {
  fileInfo never;  // no snapshot taken yet: age 0
  EXPECT_FALSE(TailStatusText("a", never, 5120).has_value());
#ifndef _WIN32  // the time zone and the date format are the user's on Windows
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  fileInfo old = Snapshot(10);
  old.age = -1;  // 1970-01-01 00:00:07 UTC
  const std::uint64_t lastWrite = 116444736000000000ull + 7 * 10'000'000ull;
  old.lastWriteLow = static_cast<std::uint32_t>(lastWrite);
  old.lastWriteHigh = static_cast<std::uint32_t>(lastWrite >> 32);
  EXPECT_EQ(TailStatusText("a", old, 5120), "a  [10 Bytes] [01/01/70 00:00:07] [Buffer:5 KB]");
#endif
}

TEST(DisplayNameOf, TakesTheFileNamePart) {
  EXPECT_EQ(DisplayNameOf("/var/log/app.log"), "app.log");
  EXPECT_EQ(DisplayNameOf("app.log"), "app.log");
  EXPECT_EQ(DisplayNameOf("/var/log/"), "");
  EXPECT_EQ(DisplayNameOf("/var/log/.hidden"), ".hidden");
}

TEST(MarkerLines, SeparatorFooterAndNotFoundLine) {
  EXPECT_EQ(HistorySeparatorLine("Error:3, Urgent:1", 4), "|\tError:3, Urgent:1, History:4");
  EXPECT_EQ(HistorySeparatorLine("", 0), "|\t, History:0");
  EXPECT_EQ(TailFooterLine("Error:3", 120), "|\tError:3, Lines:120");
  EXPECT_EQ(TailFooterLine("", 1), "|\t, Lines:1");
  EXPECT_EQ(kNotFoundLine, "|\tFILE IS EMPTY OR FILE NOT FOUND!");
  EXPECT_TRUE(kNotFoundLine.starts_with(kMarkerPrefix));
}

TEST(TailStartOffset, LastBufferBytesOrTheWholeFile) {
  EXPECT_EQ(TailStartOffset(100000, 20480), 79520u);
  EXPECT_EQ(TailStartOffset(3000, 5120), 0u);
  EXPECT_EQ(TailStartOffset(5120, 5120), 0u);
  EXPECT_EQ(TailStartOffset(0, 5120), 0u);
  // Exact beyond 32 bits, where the low half alone would seek near the start.
  const std::uint64_t big = (std::uint64_t{1} << 32) + 100;
  EXPECT_EQ(TailStartOffset(big, 1048576), big - 1048576);
  EXPECT_EQ(TailStartOffset(3000000000u, 1048576), 3000000000u - 1048576);
}

TEST(TailPieceLimit, OneLessThanTheBuffer) {
  EXPECT_EQ(TailPieceLimit(10240), 10239u);
  EXPECT_EQ(TailPieceLimit(0), 1u);
}

TEST(TailLineFromPiece, DropsTheLineFeedAndShowsNulBytes) {
  std::string shown;
  EXPECT_EQ(TailLineFromPiece("text\n", shown), "text");
  EXPECT_EQ(TailLineFromPiece("text", shown), "text");
  EXPECT_EQ(TailLineFromPiece("\n", shown), "");
  EXPECT_EQ(TailLineFromPiece("", shown), "");
  EXPECT_EQ(TailLineFromPiece("a\n\n", shown), "a\n");  // only one line feed ends a piece
  EXPECT_EQ(TailLineFromPiece(std::string_view("\0b\0\0\n", 5), shown), "?b??");
  EXPECT_EQ(TailLineFromPiece("\ttabbed\n", shown), "\ttabbed");
}

TEST(FollowTopRow, KeepsTheEndInSight) {
  EXPECT_EQ(FollowTopRow(100, 30), 70u);
  EXPECT_EQ(FollowTopRow(30, 30), 0u);
  EXPECT_EQ(FollowTopRow(5, 30), 0u);
}

}  // namespace
}  // namespace brontel
