// Compares the in-place search with the plain copy, upper-case and scan method on random texts.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "plugin/TextSearcher.h"
#include "tests/plugin/LiteralSearch.h"
#include "tests/plugin/TestCasings.h"

namespace brontel {
namespace {

using testing::JoinLines;
using testing::LiteralSearch;

// Pieces the random texts are made of: letters in both cases, delimiters and word characters,
// two-byte letters in both cases, stray and malformed UTF-8 bytes, Latin-1 and Turkish letters.
const std::vector<std::string>& Pieces() {
  static const std::vector<std::string> pieces = {
      "a",        "A",        "b",        "B",        "e",    "E",           "i",        "I",
      "r",        "R",        "o",        " ",        ".",    "_",           "-",        "(",
      ")",        "\t",       "\\",       "\r",       "\n",   "\xC3\xA9",    "\xC3\x89", "\xC3\xBF",
      "\xC5\xB8", "\xC4\x81", "\xC4\x80", "\xC4\xB1", "\xA9", "\x89",        "\xC3",     "\xC5",
      "\xE9",     "\xC9",     "\xDD",     "\xFD",     "\xFF", "\xE2\x82\xAC"};
  return pieces;
}

class RandomTexts {
 public:
  explicit RandomTexts(unsigned seed) : random_(seed) {}

  int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

  std::string Piece() { return Pieces()[static_cast<std::size_t>(Below(Pieces().size()))]; }

  std::string Line() {
    std::string line;
    const int pieces = Below(12);
    for (int i = 0; i < pieces; ++i)
      line += Below(60) == 0 ? std::string(1, '\0') : Piece();
    return line;
  }

  std::vector<std::string> Lines() {
    std::vector<std::string> lines(static_cast<std::size_t>(Below(7)));
    for (std::string& line : lines)
      line = Line();
    return lines;
  }

  // Mostly a piece of the text itself, with some bytes' case flipped, so that searches succeed
  // as often as they fail.
  std::string Pattern(const std::string& text) {
    std::string pattern;
    if (text.empty() || Below(4) == 0) {
      const int pieces = Below(4);
      for (int i = 0; i < pieces; ++i)
        pattern += Piece();
    } else {
      const int from = Below(static_cast<int>(text.size()));
      const int length = 1 + Below(6);
      pattern = text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length));
      for (char& c : pattern) {
        if (Below(3) == 0 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
          c ^= 0x20;
      }
    }
    if (Below(30) == 0)
      pattern.insert(pattern.begin() + Below(pattern.size() + 1), '\0');
    return pattern;
  }

  TextOffset Start(std::size_t size) {
    if (Below(5) == 0)
      return 0;
    return Below(static_cast<int>(size) + 4) - 1;
  }

  int Flags() { return Below(32); }

 private:
  std::mt19937 random_;
};

std::string Printable(const std::string& bytes) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 127 && c != '\\') {
      out += c;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

struct NamedCasing {
  const char* name;
  platform::UpperCaseMap map;
};

std::vector<NamedCasing> Casings() {
  return {{"C", platform::UpperCaseMap()},
          {"Latin-1", testing::Latin1Casing()},
          {"Turkish", testing::TurkishCasing()},
          {"UTF-8", testing::Utf8Casing()}};
}

TEST(TextSearcherRandom, AnswersAsTheLiteralMethodOnSmallTexts) {
  RandomTexts random(20261209);
  for (const NamedCasing& casing : Casings()) {
    int mismatches = 0;
    for (int round = 0; round < 4000 && mismatches < 5; ++round) {
      const std::string text = JoinLines(random.Lines());
      const TextSearcher searcher(text, casing.map);
      for (int query = 0; query < 12 && mismatches < 5; ++query) {
        const std::string pattern = random.Pattern(text);
        const TextOffset start = random.Start(text.size());
        const int flags = random.Flags();
        const TextOffset expected = LiteralSearch(text, pattern, start, flags, casing.map);
        const TextOffset actual = searcher.Search(pattern, start, flags);
        if (actual != expected)
          ++mismatches;
        EXPECT_EQ(actual, expected)
            << casing.name << " text \"" << Printable(text) << "\" pattern \"" << Printable(pattern)
            << "\" start " << start << " flags " << flags;
      }
    }
  }
}

// Texts far longer than the blocks and windows the search reads at once, with the matches placed
// around their edges.
TEST(TextSearcherRandom, AnswersAsTheLiteralMethodOnLongTexts) {
  RandomTexts random(7);
  const platform::UpperCaseMap casing = testing::Utf8Casing();
  for (int round = 0; round < 12; ++round) {
    std::string text(static_cast<std::size_t>(70000 + random.Below(40000)), 'x');
    for (int i = 0; i < 40; ++i) {
      const std::size_t at = static_cast<std::size_t>(random.Below(static_cast<int>(text.size())));
      const std::string piece = random.Below(3) == 0 ? " err " : random.Piece();
      text.replace(at, std::min(piece.size(), text.size() - at), piece);
    }
    if (random.Below(2) == 0)
      text[static_cast<std::size_t>(random.Below(text.size()))] = '\0';
    for (const std::size_t edge : {std::size_t{32767}, std::size_t{32768}, std::size_t{65536}}) {
      text.replace(edge - static_cast<std::size_t>(random.Below(4)), 5, " eRr ");
    }
    const TextSearcher searcher(text, casing);
    for (int query = 0; query < 40; ++query) {
      const std::string pattern = random.Below(2) == 0 ? "err" : random.Pattern(text);
      const TextOffset start = random.Below(3) == 0 ? 0 : random.Start(text.size());
      const int flags = random.Flags();
      EXPECT_EQ(searcher.Search(pattern, start, flags),
                LiteralSearch(text, pattern, start, flags, casing))
          << "pattern \"" << Printable(pattern) << "\" start " << start << " flags " << flags;
    }
  }
}

// A long text holds the pattern once; wherever that is, relative to the start, it is found, and a
// zero byte right before it hides it. Places near multiples of 16 KiB meet the edges of the
// pieces the search reads at a time.
TEST(TextSearcherLongText, FindsTheOnlyMatchWhereverItStands) {
  const platform::UpperCaseMap casing = testing::Utf8Casing();
  for (const std::size_t start : {std::size_t{0}, std::size_t{1}, std::size_t{5000}}) {
    for (std::size_t edge = 16384; edge <= 6 * 16384; edge += 16384) {
      for (std::size_t place = start + edge - 6; place <= start + edge + 6; ++place) {
        std::string text(110000, 'x');
        text.replace(place, 4, "\xC3\x89rr");  // Érr
        const TextSearcher searcher(text, casing);
        const auto expected = static_cast<TextOffset>(place);
        const auto from = static_cast<TextOffset>(start);
        EXPECT_EQ(searcher.Search("\xC3\xA9RR", from, 0), expected) << place;
        EXPECT_EQ(searcher.Search("\xC3\x89rr", from, kSearchMatchCase), expected) << place;
        EXPECT_EQ(searcher.Search("\xC3\xA9RR", 0, kSearchBackwards), expected) << place;
        EXPECT_EQ(searcher.Search("\xC3\x89rr", from + static_cast<TextOffset>(edge),
                                  kSearchBackwards | kSearchMatchCase),
                  place + 4 <= start + edge - 1 ? expected : kNotFound)
            << place;
        text[place - 1] = '\0';
        const TextSearcher hidden(text, casing);
        EXPECT_EQ(hidden.Search("\xC3\x89rr", from, kSearchMatchCase), kNotFound) << place;
        EXPECT_EQ(hidden.Search("\xC3\xA9RR", 0, kSearchBackwards), kNotFound) << place;
      }
    }
  }
}

}  // namespace
}  // namespace brontel
