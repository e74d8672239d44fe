#include "viewer/ViewFinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/TRAHLEditor.h"

namespace brontel {
namespace {

// The view is read a few hundred kilobytes at a time: matches are found the same on either side
// of a stretch's end, in a line longer than a stretch, going round either end of the text.
TEST(ViewFinder, MatchesAreFoundAcrossStretchesAndRoundTheEnds) {
  std::vector<std::string> lines;
  for (int i = 0; i < 12000; ++i)
    lines.push_back("line " + std::to_string(i) + (i % 1000 == 999 ? " needle" : " hay") +
                    std::string(40, '.'));
  lines.push_back(std::string(300000, 'x') + " needle at the end of a long line");
  lines.push_back("last");
  ui::TRAHLEditor view("_editor");
  view.AssignLines(lines);
  for (const bool expression : {false, true}) {
    ViewFinder finder;
    std::string error;
    ASSERT_TRUE(finder.Set({expression ? "ne+dle" : "needle", expression, true, false}, error));
    std::vector<std::size_t> forwards;
    std::size_t from = 0;
    for (int k = 0; k < 14; ++k) {
      const auto match = finder.Find(view, from, true);
      ASSERT_TRUE(match);
      EXPECT_EQ(view.Lines().TextRange(match->offset, match->length), "needle");
      EXPECT_EQ(match->wrapped, k == 13);
      forwards.push_back(match->offset);
      from = match->offset + 1;
    }
    EXPECT_EQ(forwards.size(), 14u);
    EXPECT_EQ(forwards[13], forwards[0]);  // round the end to the first again
    EXPECT_EQ(finder.Count(view, forwards[5]), std::make_pair(std::size_t{13}, std::size_t{6}));
    // Backwards from the first match goes round the start to the long line's.
    const auto last = finder.Find(view, forwards[0], false);
    ASSERT_TRUE(last);
    EXPECT_TRUE(last->wrapped);
    EXPECT_EQ(last->offset, forwards[12]);
    const auto before = finder.Find(view, forwards[12], false);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->offset, forwards[11]);
    EXPECT_FALSE(before->wrapped);
  }
}

}  // namespace
}  // namespace brontel
