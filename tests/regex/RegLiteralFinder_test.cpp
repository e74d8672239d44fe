#include "regex/RegLiteralFinder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

namespace brontel {
namespace {

bool Holds(std::string_view text, std::string_view literal) {
  return text.find(literal) != std::string_view::npos;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return lower;
}

bool HoldsIgnoringCase(std::string_view text, std::string_view literal) {
  return Holds(Lower(text), Lower(literal));
}

// Literals of each kind the finder tells apart: one byte, a rare capital (found by memchr),
// common letters only (found sixteen places at a time), a repeated byte, and a literal whose
// two rarest bytes lie at its ends.
constexpr std::string_view kLiterals[] = {"e", "ERROR", "error", "eror", "rr", "a1b2a", "50,"};

TEST(RegLiteralFinderTest, AgreesWithAPlainSearchAtEveryPlaceAndLength) {
  // Texts of every length up to three steps of lanes, with the literal at each place: the
  // first place, the places of the last full step and of the step that ends at the last place.
  for (const std::string_view literal : kLiterals) {
    for (const bool ignoreCase : {false, true}) {
      const RegLiteralFinder finder(literal, ignoreCase);
      for (std::size_t length = 0; length <= 50; ++length) {
        const std::string filler(length, 'x');
        EXPECT_FALSE(finder.FoundIn(filler)) << literal << " in " << length << " x";
        for (std::size_t at = 0; at + literal.size() <= length; ++at) {
          std::string text = filler;
          text.replace(at, literal.size(), literal);
          EXPECT_TRUE(finder.FoundIn(text)) << literal << " at " << at << " of " << length;
          // Cut one byte short of the literal's end: the place no longer fits.
          const std::string_view cut = std::string_view(text).substr(0, at + literal.size() - 1);
          EXPECT_EQ(finder.FoundIn(cut), Holds(cut, literal));
          // Capitals found as well, ignoring case only.
          const std::string upper = [&] {
            std::string capitals = text;
            for (char& c : capitals)
              c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            return capitals;
          }();
          EXPECT_EQ(finder.FoundIn(upper), ignoreCase || Holds(upper, literal)) << upper;
        }
      }
    }
  }
}

TEST(RegLiteralFinderTest, AgreesWithAPlainSearchOnTextsFullOfNearMisses) {
  // A small alphabet makes places that hold the literal's rarest bytes but not all of it.
  std::mt19937 random(2026);
  const std::string_view alphabet("erro50,ERa1b\0@`[{", 17);
  for (int round = 0; round < 4000; ++round) {
    std::string text(random() % 70, ' ');
    for (char& c : text)
      c = alphabet[random() % alphabet.size()];
    for (const std::string_view literal : kLiterals) {
      EXPECT_EQ(RegLiteralFinder(literal).FoundIn(text), Holds(text, literal))
          << literal << " in " << text;
      // Where: the first place, as the texts every match needs are looked up in a filter.
      EXPECT_EQ(RegLiteralFinder(literal).Find(text), text.find(literal))
          << literal << " in " << text;
      EXPECT_EQ(RegLiteralFinder(literal, true).Find(text), Lower(text).find(Lower(literal)))
          << literal << " in " << text << ", ignoring case";
      // Bytes next to the letters in the code table ("@[`{") must not pass for letters.
      EXPECT_EQ(RegLiteralFinder(literal, true).FoundIn(text), HoldsIgnoringCase(text, literal))
          << literal << " in " << text << ", ignoring case";
    }
  }
}

TEST(RegLiteralFinderTest, EmptyLiteralIsEverywhereAndTheTextIsNotCopied) {
  EXPECT_TRUE(RegLiteralFinder().FoundIn(""));
  EXPECT_TRUE(RegLiteralFinder("").FoundIn("abc"));
  const std::string literal = "level";
  EXPECT_EQ(RegLiteralFinder(literal).literal().data(), literal.data());
}

}  // namespace
}  // namespace brontel
