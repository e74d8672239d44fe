#include "regex/RegLiteralSet.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brontel {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return lower;
}

using Literals = std::vector<std::pair<std::string, bool>>;  // text, ignoring case

// The answer of one plain search per literal.
std::uint64_t PlainAnswer(const Literals& literals, std::string_view text) {
  std::uint64_t found = 0;
  for (std::size_t i = 0; i < literals.size(); ++i) {
    const auto& [literal, ignoreCase] = literals[i];
    const bool holds = ignoreCase ? Lower(text).find(Lower(literal)) != std::string::npos
                                  : text.find(literal) != std::string_view::npos;
    found |= holds ? std::uint64_t{1} << i : 0;
  }
  return found;
}

TEST(RegLiteralSetTest, AgreesWithPlainSearchesOnTextsFullOfNearMisses) {
  // A small alphabet puts the windows' bytes and their four-bit halves everywhere (@ and ` share
  // the low half of P and p, a zero byte that of p); sets of up to 40 literals fill every group.
  std::mt19937 random(2026);
  const std::string_view alphabet("erro: PpE\0@`ailed", 17);
  const auto randomText = [&](std::size_t length) {
    std::string text(length, ' ');
    for (char& c : text)
      c = alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 3000; ++round) {
    RegLiteralSet set;
    Literals literals;
    for (std::size_t count = 1 + random() % 40; literals.size() < count;) {
      const std::string literal = randomText(1 + random() % 7);
      const bool ignoreCase = random() % 2 == 0;
      if (set.Add(literal, ignoreCase) == literals.size())
        literals.emplace_back(literal, ignoreCase);
    }
    for (int line = 0; line < 4; ++line) {
      const std::string text = randomText(random() % 90);
      ASSERT_EQ(set.FoundIn(text), PlainAnswer(literals, text)) << text;
    }
  }
}

TEST(RegLiteralSetTest, FindsEachLiteralAtEveryPlaceOfTextsOfEveryLength) {
  // The places of full steps, of the step that ends at the last place, and of short texts.
  const Literals literals = {{"rror: ", false}, {"warning", true}, {"Oops", false}, {"x:", false}};
  RegLiteralSet set;
  for (const auto& [literal, ignoreCase] : literals)
    set.Add(literal, ignoreCase);
  for (std::size_t length = 0; length <= 70; ++length) {
    const std::string filler(length, '.');
    EXPECT_EQ(set.FoundIn(filler), 0u);
    for (std::size_t i = 0; i < literals.size(); ++i) {
      for (std::size_t at = 0; at + literals[i].first.size() <= length; ++at) {
        std::string text = filler;
        text.replace(at, literals[i].first.size(), literals[i].first);
        EXPECT_EQ(set.FoundIn(text), std::uint64_t{1} << i) << text;
        const std::string upper = [&] {
          std::string capitals = text;
          for (char& c : capitals)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
          return capitals;
        }();
        EXPECT_EQ(set.FoundIn(upper), PlainAnswer(literals, upper)) << upper;
      }
    }
  }
}

TEST(RegLiteralSetTest, IndicesFollowTheOrderOfAddingUntilTheSetIsFull) {
  RegLiteralSet set;
  EXPECT_EQ(set.Add("level"), 0u);
  EXPECT_EQ(set.Add("level", true), 1u);
  EXPECT_EQ(set.Add("level"), 0u);
  EXPECT_EQ(set.Add(""), RegLiteralSet::kNone);
  for (std::size_t i = set.size(); i < RegLiteralSet::kMaxLiterals; ++i)
    EXPECT_EQ(set.Add("item " + std::to_string(i) + ";"), i);
  EXPECT_EQ(set.Add("one more"), RegLiteralSet::kNone);
  EXPECT_EQ(set.Add("level", true), 1u);
  EXPECT_EQ(set.literal(63), "item 63;");
  EXPECT_EQ(set.FoundIn("item 63; and a LEVEL"), std::uint64_t{1} << 63 | 2u);
}

}  // namespace
}  // namespace brontel
