#include "ui/LineIndex.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace brontel::ui {
namespace {

// Every answer of the index against plain sums of the lengths it was given.
void ExpectMatchesSums(const LineIndex& index, std::uint64_t first,
                       const std::vector<std::uint32_t>& file,
                       const std::vector<std::uint32_t>& text) {
  ASSERT_EQ(index.Count(), file.size());
  std::uint64_t fileAt = first;
  std::uint64_t textAt = 0;
  for (std::size_t i = 0; i < file.size(); ++i) {
    ASSERT_EQ(index.FileStart(i), fileAt) << i;
    ASSERT_EQ(index.TextStart(i), textAt) << i;
    ASSERT_EQ(index.FileBytes(i), file[i]) << i;
    ASSERT_EQ(index.LineOfText(textAt), i);
    ASSERT_EQ(index.LineOfText(textAt + text[i] - 1), i);
    fileAt += file[i];
    textAt += text[i];
  }
  EXPECT_EQ(index.FileStart(file.size()), fileAt);
  EXPECT_EQ(index.FileEnd(), fileAt);
  EXPECT_EQ(index.TextLength(), textAt);
  EXPECT_EQ(index.LineOfText(textAt + 5), file.size() - 1);
}

TEST(LineIndexTest, OffsetsOfRegularIrregularAndLongLinesEqualTheirSums) {
  std::mt19937 random(7);
  for (const int kind : {0, 1, 2}) {
    LineIndex index;
    index.StartAt(3);  // after a byte-order mark
    std::vector<std::uint32_t> file;
    std::vector<std::uint32_t> text;
    // 0: LF lines only (regular groups); 1: tabs and mixed line ends; 2: long lines too.
    for (int i = 0; i < 1000; ++i) {
      std::uint32_t bytes = 1 + random() % 200;
      std::uint32_t shown = bytes + 1;
      if (kind >= 1 && random() % 5 == 0)
        shown += 2 * (random() % 4);  // tabs shown as three blanks
      if (kind >= 1 && random() % 7 == 0)
        shown = bytes;  // CR LF
      if (kind == 2 && random() % 9 == 0) {
        bytes = 255 + random() % 100000;
        shown = bytes + 1 + (random() % 2) * 2 * (200 + random() % 100);  // many tabs
      }
      file.push_back(bytes);
      text.push_back(shown);
      index.Add(bytes, shown);
    }
    ExpectMatchesSums(index, 3, file, text);
  }
}

TEST(LineIndexTest, ShortLinesTakeLessThanTwoBytesEachAndAnEmptyIndexHasItsStart) {
  LineIndex index;
  index.StartAt(10);
  EXPECT_EQ(index.FileStart(0), 10u);
  EXPECT_EQ(index.TextLength(), 0u);
  for (int i = 0; i < 100000; ++i)
    index.Add(80, 81);
  EXPECT_LT(index.MemoryBytes(), 2u * 100000);
  EXPECT_EQ(index.FileStart(99999), 10u + 80u * 99999);
}

// Millions of lines, so that each of the index's arrays spans chunks (every group irregular):
// offsets, lengths and the walk over lines agree across the chunks' ends, at multiples of 2^21.
TEST(LineIndexTest, AnIndexOfMillionsOfLinesAnswersAcrossItsChunks) {
  const auto fileBytesOf = [](std::size_t i) { return static_cast<std::uint32_t>(20 + i % 97); };
  const auto textBytesOf = [&](std::size_t i) { return fileBytesOf(i) + 1 + 2 * (i % 2); };
  LineIndex index;
  std::vector<std::array<std::uint64_t, 3>> samples;  // line, file start, text start
  std::uint64_t fileAt = 0;
  std::uint64_t textAt = 0;
  for (std::size_t i = 0; i < 4'500'000; ++i) {
    if ((i + 2) % (1 << 21) < 4)
      samples.push_back({i, fileAt, textAt});
    index.Add(fileBytesOf(i), textBytesOf(i));
    fileAt += fileBytesOf(i);
    textAt += textBytesOf(i);
  }
  for (const auto& [line, fileStart, textStart] : samples) {
    ASSERT_EQ(index.FileStart(line), fileStart) << line;
    ASSERT_EQ(index.TextStart(line), textStart) << line;
    ASSERT_EQ(index.LineOfText(textStart), line);
  }
  std::size_t next = (1 << 21) - 100;
  index.ForEachLine(next, next + 200,
                    [&](std::size_t line, std::uint32_t file, std::uint32_t text) {
                      EXPECT_EQ(line, next++);
                      EXPECT_EQ(file, fileBytesOf(line));
                      EXPECT_EQ(text, textBytesOf(line));
                    });
  EXPECT_EQ(next, (std::size_t{1} << 21) + 100);
}

}  // namespace
}  // namespace brontel::ui
