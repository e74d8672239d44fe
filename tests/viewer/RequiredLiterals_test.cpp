#include "viewer/RequiredLiterals.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regex/RegExpr.h"

namespace brontel {
namespace {

using Texts = std::vector<std::string>;

Texts TextsOf(std::string_view expression) {
  return RequiredLiterals(expression).texts;
}

TEST(RequiredLiterals, EachAlternativeGivesTheLongestTextEveryMatchHolds) {
  EXPECT_EQ(TextsOf("timeout|status 50[0-9]"), (Texts{"timeout", "status 50"}));
  EXPECT_TRUE(RequiredLiterals("timeout|status 50[0-9]").leading);
  EXPECT_EQ(TextsOf("retrying node 9[0-9]*"), (Texts{"retrying node 9"}));
  EXPECT_EQ(TextsOf("disk fullx?"), (Texts{"disk full"}));  // the x is optional
  EXPECT_EQ(TextsOf("(warn|error)ing: dis+k"), (Texts{"ing: di"}));
  EXPECT_FALSE(RequiredLiterals("(warn|error)ing: dis+k").leading);
  EXPECT_EQ(TextsOf("[]|(]ab|x\\|yz"), (Texts{"ab", "yz"}));
  // An alternative with nothing of two characters that it must hold rejects nothing.
  EXPECT_EQ(TextsOf("timeout|E"), Texts{});
  EXPECT_EQ(TextsOf("a(bc)?d"), Texts{});
  EXPECT_EQ(TextsOf("ab|"), Texts{});
}

// Random expressions over a small alphabet: wherever the engine finds a match, the line holds
// one of the texts, so a filter that rejects lines without them never hides a match; and where
// they lead their alternatives, a search from the first of them finds one too.
TEST(RequiredLiterals, NoLineTheEngineMatchesIsRejected) {
  std::mt19937 random(11);
  const std::vector<std::string> pieces = {"a",   "b",    "ab",   "ba",     "abb",
                                           ".",   "[ab]", "[^a]", "(a|bb)", "(ab)",
                                           "\\.", "^",    "$",    "c",      "|"};
  const std::vector<std::string> repetitions = {"", "", "", "*", "+", "?"};
  int checked = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string expression;
    for (std::size_t n = 1 + random() % 5; n > 0; --n)
      expression += pieces[random() % pieces.size()] + repetitions[random() % repetitions.size()];
    RegExpr compiled(expression);
    if (!compiled.program())
      continue;
    const RequiredTexts required = RequiredLiterals(expression);
    for (int line = 0; line < 40; ++line) {
      std::string text;
      for (std::size_t n = random() % 12; n > 0; --n)
        text += "ab.c"[random() % 4];
      int length = 0;
      if (compiled.Match(text.c_str(), length) < 0 || required.texts.empty())
        continue;
      const std::size_t earliest = EarliestOf(text, required.texts);
      ASSERT_NE(earliest, std::string::npos) << expression << " on " << text;
      if (required.leading) {
        ASSERT_GE(compiled.Match(text.c_str(), length, static_cast<int>(earliest)), 0)
            << expression << " on " << text << " from " << earliest;
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace brontel
