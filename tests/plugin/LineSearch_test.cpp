#include "plugin/LineSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/Casing.h"
#include "ui/LineStore.h"

namespace brontel {
namespace {

// Searching in small stretches answers what one search over the whole text answers, for every
// direction, case and word flag, from starts all over the text (the seams included).
TEST(LineSearchTest, StretchesAnswerAsTheWholeTextDoes) {
  std::mt19937 random(11);
  const std::string alphabet = "abA .-_\t";
  const platform::UpperCaseMap casing = platform::UserUpperCaseMap();
  for (int round = 0; round < 8; ++round) {
    std::vector<std::string> lines(1 + random() % 30);
    for (std::string& line : lines) {
      line.resize(random() % 12);
      for (char& c : line)
        c = alphabet[random() % alphabet.size()];
    }
    ui::LineStore store;
    store.Assign(lines);
    const std::string text(store.Text());
    const std::string pattern = round % 3 == 0 ? "ab" : round % 3 == 1 ? "a" : "ba a";
    const std::size_t stretch = 5 + random() % 20;
    for (const int flags : {0, kSearchMatchCase, kSearchWholeWords, kSearchBackwards,
                            kSearchBackwards | kSearchWholeWords | kSearchMatchCase}) {
      for (TextOffset start = 0; start <= static_cast<TextOffset>(text.size()) + 1; ++start) {
        ASSERT_EQ(SearchLines(store, pattern, start, flags, stretch),
                  TextSearcher(text, casing).Search(pattern, start, flags))
            << "text '" << text << "' start " << start << " flags " << flags << " stretch "
            << stretch;
      }
    }
  }
}

}  // namespace
}  // namespace brontel
