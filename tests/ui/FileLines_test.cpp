#include "ui/FileLines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace brontel::ui {
namespace {

// The lines of a text found a byte at a time, with what the scan must report of them.
struct Expected {
  std::vector<std::string_view> lines;
  std::vector<std::size_t> starts;
  std::vector<TabHint> hints;
  std::size_t end = 0;
  std::size_t breakBytes = 0;
  std::size_t tabs = 0;
};

TabHint HintOf(std::string_view line) {
  const std::size_t first = line.find('\t');
  if (first == std::string_view::npos)
    return kNoTab;
  if (line.find('\t', first + 1) != std::string_view::npos || first + 1 > kLastTabHint)
    return kSearchTabs;
  return static_cast<TabHint>(first + 1);
}

Expected SplitByteByByte(std::string_view text) {
  Expected expected;
  expected.end = text.size();
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    const std::string_view line = text.substr(at, end - at);
    expected.lines.push_back(line);
    expected.starts.push_back(at);
    expected.hints.push_back(HintOf(line));
    expected.tabs += static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t'));
    at = end + 1;
    if (end < text.size() && text[end] == '\r' && at < text.size() && text[at] == '\n')
      ++at;
    expected.breakBytes += std::min(at, text.size()) - end;
  }
  return expected;
}

void ExpectScanOf(const std::string& text) {
  std::vector<std::string_view> taken;
  const FileLines lines =
      ScanFileLines(text, [&](std::string_view line) { taken.push_back(line); });
  const Expected expected = SplitByteByByte(text);
  ASSERT_EQ(taken, expected.lines);
  for (std::size_t i = 0; i < taken.size(); ++i)
    ASSERT_EQ(taken[i].data(), text.data() + expected.starts[i]) << "line " << i;
  ASSERT_EQ(lines.starts, expected.starts);
  ASSERT_EQ(lines.tabHints, expected.hints);
  ASSERT_EQ(lines.end, expected.end);
  ASSERT_EQ(lines.breakBytes, expected.breakBytes);
  ASSERT_EQ(lines.tabs, expected.tabs);
}

// The scan looks at 64 bytes at a time: line ends, tabs and NUL bytes fall on and across those
// blocks' edges, among other control bytes it must pass over, in texts of every length.
TEST(ScanFileLines, AgreesWithASplitByteByByte) {
  std::mt19937 random(20261209);
  const std::string_view bytes("abcdefgh\t\r\n\x01\x0b\x0c\x0e\xff", 16);
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const std::size_t length = random() % (round % 20 == 0 ? 20000 : 700);
    const std::size_t alphabet = round % 2 == 0 ? bytes.size() : 11;
    for (std::size_t i = 0; i < length; ++i)
      text += bytes[random() % alphabet];
    if (round % 7 == 0 && !text.empty())
      text[random() % text.size()] = '\0';
    ASSERT_NO_FATAL_FAILURE(ExpectScanOf(text)) << "round " << round;
  }
}

TEST(ScanFileLines, HintsTheOnlyTabOfALineUpToItsLastOffset) {
  const std::string far(kLastTabHint - 1, 'x');
  const std::string text = "\t\nx\t\n\t\t\n" + far + "\tend\n" + far + "x\t\n";
  const FileLines lines = ScanFileLines(text);
  EXPECT_EQ(lines.tabHints, (std::vector<TabHint>{1, 2, kSearchTabs, kLastTabHint, kSearchTabs}));
  ExpectScanOf(text);
}

// Lists are reserved from the first lines' length: a text whose lines get much shorter later
// must still yield every line.
TEST(ScanFileLines, KeepsEveryLineWhenTheFirstLinesPromiseFewer) {
  std::string text;
  for (int i = 0; i < 6000; ++i)
    text += std::string(200, 'x') + "\n";
  text += std::string(200000, '\n');
  const FileLines lines = ScanFileLines(text);
  EXPECT_EQ(lines.Count(), 206000u);
  EXPECT_EQ(lines.starts.back(), text.size() - 1);
  EXPECT_EQ(lines.tabHints.size(), lines.Count());
}

}  // namespace
}  // namespace brontel::ui
