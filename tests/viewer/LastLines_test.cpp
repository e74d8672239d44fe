#include "viewer/LastLines.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "viewer/LineHistory.h"

namespace brontel {
namespace {

std::vector<std::string> LinesOf(const LastLines& lines) {
  std::vector<std::string> held;
  lines.ForEach([&](std::string_view line) { held.emplace_back(line); });
  return held;
}

// Against a plain list that drops its front: short and empty lines, and lines longer than a
// chunk (which get one of their own), over enough text that chunks are dropped and used again.
TEST(LastLinesTest, HoldsTheLastLinesOfAnyLengthOldestFirst) {
  std::mt19937 random(11);
  for (const std::size_t limit : {std::size_t{1}, std::size_t{3}, std::size_t{5000}}) {
    LastLines lines(limit);
    std::deque<std::string> expected;
    std::size_t expectedBytes = 0;
    for (int i = 0; i < 40000; ++i) {
      std::string line(random() % 7 == 0 ? 0 : random() % 300, static_cast<char>('a' + i % 26));
      if (i % 9973 == 0)
        line.assign((3 << 20) + i, 'L');
      lines.Append(line);
      expectedBytes += line.size();
      expected.push_back(std::move(line));
      if (expected.size() > limit) {
        expectedBytes -= expected.front().size();
        expected.pop_front();
      }
    }
    EXPECT_EQ(lines.Count(), expected.size());
    EXPECT_EQ(lines.TextBytes(), expectedBytes);
    EXPECT_EQ(LinesOf(lines), std::vector<std::string>(expected.begin(), expected.end()));
  }
}

TEST(LastLinesTest, TheHistoryTakesThemWithinItsLimitAndLeavesThemEmpty) {
  LastLines lines(100);
  for (int i = 0; i < 250; ++i)
    lines.Append("line " + std::to_string(i));
  LineHistory history;
  history.Append("held before");
  history.AppendAll(std::move(lines), 50);
  EXPECT_TRUE(lines.Empty());
  ASSERT_EQ(history.Count(), 50u);
  EXPECT_EQ(history.Line(0), "line 200");
  EXPECT_EQ(history.Line(49), "line 249");
}

}  // namespace
}  // namespace brontel
