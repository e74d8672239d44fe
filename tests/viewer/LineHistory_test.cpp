#include "viewer/LineHistory.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "classify/LineClassifier.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"

namespace brontel {
namespace {

using testing::HistoryLines;
using testing::LiteralHistory;

TEST(LineHistory, GrowsToTheLimitPlusOneAndKeepsTheNewest) {
  LineHistory history;
  history.SetMaxLines(100);
  int appendedPlainly = 0;
  for (int i = 0; i < 150; ++i)
    appendedPlainly += history.AddToHistory("E   failure number " + std::to_string(1000 + i));
  ASSERT_EQ(history.Count(), 101u);
  EXPECT_EQ(appendedPlainly, 101);
  EXPECT_EQ(history.Line(0), "E   failure number 1049");
  EXPECT_EQ(history.Line(100), "E   failure number 1149");
  // The dropped lines are gone from the duplicate test as well.
  EXPECT_FALSE(history.Contains("E   failure number 1048"));
  EXPECT_TRUE(history.Contains("E   failure number 1049"));
}

TEST(LineHistory, LoweredLimitShortensByOneLinePerAddition) {
  LineHistory history;
  history.SetMaxLines(10);
  for (int i = 0; i < 11; ++i)
    history.AddToHistory("line " + std::to_string(i));
  history.SetMaxLines(5);
  EXPECT_EQ(history.Count(), 11u);
  EXPECT_FALSE(history.AddToHistory("another"));
  EXPECT_EQ(history.Count(), 11u);
  EXPECT_EQ(history.Line(0), "line 1");
}

TEST(LineHistory, LinesAlreadyInsideTheHistoryAreNotAddedAgain) {
  LineHistory history;
  EXPECT_TRUE(history.AddToHistory("W   disk almost full on /var"));
  EXPECT_FALSE(history.AddToHistory("W   disk almost full on /var"));
  EXPECT_FALSE(history.AddToHistory("disk almost"));
  EXPECT_FALSE(history.AddToHistory(""));
  EXPECT_EQ(HistoryLines(history), std::vector<std::string>{"W   disk almost full on /var"});
  // The other way round is a new line: the history only ever holds what was added.
  EXPECT_TRUE(history.AddToHistory("W   disk almost full on /var and /tmp"));
  EXPECT_EQ(history.Count(), 2u);
  // Case matters.
  EXPECT_TRUE(history.AddToHistory("w   DISK ALMOST FULL ON /VAR"));
}

TEST(LineHistory, TheSearchSpansTheLineBreaksOfTheJoinedText) {
  LineHistory history;
  history.AddToHistory("first");
  history.AddToHistory("second");
  EXPECT_TRUE(history.Contains("st\r\nsec"));
  EXPECT_TRUE(history.Contains("second\r\n"));
  EXPECT_TRUE(history.Contains("\r"));
  EXPECT_FALSE(history.Contains("first\r\nsecond\r\nthird"));
  EXPECT_FALSE(history.Contains("firstsecond"));
  EXPECT_EQ(history.Text(), "first\r\nsecond\r\n");
}

TEST(LineHistory, AppendSkipsDuplicateTestAndLimit) {
  LineHistory history;
  history.SetMaxLines(100);
  for (int i = 0; i < 150; ++i)
    history.Append("E   same");
  EXPECT_EQ(history.Count(), 150u);
  history.Clear();
  EXPECT_TRUE(history.Empty());
  EXPECT_EQ(history.Text(), "");
  EXPECT_FALSE(history.Contains("E   same"));
  EXPECT_TRUE(history.AddToHistory("E   same"));
}

// The complete load's lines join the duplicate test and the limit of later additions: the one
// dropped is the oldest of two equal lines, and the other stays found.
TEST(LineHistory, AppendedLinesTakePartInLaterTestsAndDrops) {
  LineHistory history;
  history.SetMaxLines(3);
  for (const char* line : {"E   a", "E   b", "E   a", "E   c"})
    history.Append(line);
  EXPECT_FALSE(history.AddToHistory("E   b"));
  EXPECT_FALSE(history.AddToHistory("E   d"));
  EXPECT_EQ(HistoryLines(history), (std::vector<std::string>{"E   b", "E   a", "E   c", "E   d"}));
  EXPECT_TRUE(history.Contains("E   a"));
  EXPECT_FALSE(history.AddToHistory("E   e"));
  EXPECT_FALSE(history.Contains("E   b"));
  EXPECT_TRUE(history.Contains("E   a"));
}

// Random histories over a small alphabet make substrings, duplicates and line-break matches
// common; the results must be exactly those of the literal method, also while long lines make
// the history drop (and compact) megabytes of old text.
TEST(LineHistory, AgreesWithTheLiteralJoinedTextSearch) {
  std::mt19937 random(20261208);
  for (const std::int32_t limit : {0, 3, 40}) {
    LineHistory history;
    LiteralHistory literal;
    history.SetMaxLines(limit);
    literal.maxLines = limit;
    for (int i = 0; i < 1500; ++i) {
      std::string line;
      const int length = static_cast<int>(random() % 7);
      for (int j = 0; j < length; ++j)
        line += "ab\r\n"[random() % (i % 5 == 0 ? 4 : 2)];
      if (i % 31 == 0)
        line += std::string(30000, 'x') + std::to_string(i);  // drops megabytes over time
      ASSERT_EQ(history.AddToHistory(line), literal.AddToHistory(line)) << "line " << i;
      ASSERT_EQ(HistoryLines(history), literal.lines) << "line " << i;
    }
  }
}

// Lines long enough for the filter of 8-byte runs, over two letters so that most of their runs
// occur somewhere: the filter may only skip searches that would have found nothing, also after
// old lines were dropped and the filter was rebuilt.
TEST(LineHistory, LongLinesAgreeWithTheLiteralSearchThroughDropsAndRebuilds) {
  std::mt19937 random(20261209);
  for (const std::int32_t limit : {5, 200}) {
    LineHistory history;
    LiteralHistory literal;
    history.SetMaxLines(limit);
    literal.maxLines = limit;
    for (int i = 0; i < 1200; ++i) {
      std::string line;
      const int length = 8 + static_cast<int>(random() % 17);
      for (int j = 0; j < length; ++j)
        line += "ab\r\n"[random() % (i % 7 == 0 ? 4 : 2)];
      if (i % 50 == 0)
        line += std::string(40000, 'a' + i % 3);  // megabytes of runs: rebuilds the filter
      ASSERT_EQ(history.AddToHistory(line), literal.AddToHistory(line)) << "line " << i;
    }
    EXPECT_EQ(HistoryLines(history), literal.lines);
  }
}

class CountingLines : public ::testing::Test {
 protected:
  testing::MemorySettings store;
  LineClassifier types{store};
  LineHistory history;
};

TEST_F(CountingLines, OnlyTheFirstThreeTypesAreCountedAndKept) {
  std::vector<std::string> list;
  AddLoadedLine(types, history, list, "E   boom");
  AddLoadedLine(types, history, list, "plain text");
  AddLoadedLine(types, history, list, "|\tsummary line");
  AddLoadedLine(types, history, list, "W\twatch out");
  AddLoadedLine(types, history, list, "U   hurry");
  AddLoadedLine(types, history, list, "E   boom");
  EXPECT_EQ(list, (std::vector<std::string>{"E   boom", "plain text", "|\tsummary line",
                                            "W\twatch out", "U   hurry", "E   boom"}));
  EXPECT_EQ(HistoryLines(history),
            (std::vector<std::string>{"E   boom", "W\twatch out", "U   hurry"}));
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:2, Warning:1, Urgent:1");
}

TEST_F(CountingLines, CompleteCountingKeepsEveryCountedLine) {
  const std::vector<std::string_view> lines{"E   one", "E   two",   "x",       "E   one",
                                            "info",    "E   three", "E   one", "|\tend"};
  CountCompleteLines(types, history, lines);
  EXPECT_EQ(HistoryLines(history),
            (std::vector<std::string>{"E   one", "E   two", "E   one", "E   three", "E   one"}));
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:5");
}

}  // namespace
}  // namespace brontel
