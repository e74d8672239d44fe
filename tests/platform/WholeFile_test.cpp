#include "platform/WholeFile.h"

#include <gtest/gtest.h>

namespace brontel::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitTextLines, EndsLinesAtCrLfLfAndLoneCr) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then CR: two line ends
}

TEST(SplitTextLines, FinalLineEndAddsNoEmptyLine) {
  EXPECT_EQ(SplitTextLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitTextLines("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitTextLines("\n"), (Lines{""}));
  EXPECT_EQ(SplitTextLines(""), Lines{});
}

TEST(SplitTextLines, TextEndsAtFirstNul) {
  EXPECT_EQ(SplitTextLines(std::string_view("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
  EXPECT_EQ(SplitTextLines(std::string_view("\0a", 2)), Lines{});
}

TEST(SplitTextLines, KeepsTabsAndOtherBytes) {
  EXPECT_EQ(SplitTextLines("\tx\x1Ay\xff\n"), (Lines{"\tx\x1Ay\xff"}));
}

}  // namespace
}  // namespace brontel::platform
