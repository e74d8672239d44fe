#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "regex/RegExpr.h"
#include "tests/regex/PatternGenerator.h"

// GCC's sanitizer builds see uninitialised members inside the standard library's own regex code.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace brontel {
namespace {

struct Found {
  int position;
  int length;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& found) {
  return out << "{" << found.position << ", " << found.length << "}";
}

constexpr Found kNotFound{-1, -1};

Found Find(RegExpr& re, const std::string& text) {
  int length = -1;
  const int position = re.Match(text.c_str(), length);
  return {position, length};
}

Found Find(const std::string& pattern, const std::string& text) {
  RegExpr re(pattern);
  EXPECT_NE(re.program(), nullptr) << pattern << ": " << re.lastError();
  return Find(re, text);
}

// Group n of the last search as offsets into `text`; {-1, -1} when the slot is none.
std::pair<int, int> Group(const RegExpr& re, const std::string& text, int n) {
  const char* start = re.program()->groupStart[n];
  const char* end = re.program()->groupEnd[n];
  return {start ? static_cast<int>(start - text.c_str()) : -1,
          end ? static_cast<int>(end - text.c_str()) : -1};
}

TEST(RegExprMatch, BuiltInMarkerExpressions) {
  EXPECT_EQ(Find("^E   .+", "E   x"), (Found{0, 5}));
  EXPECT_EQ(Find("^E   .+", "E   "), kNotFound);
  EXPECT_EQ(Find("^E   .+", " E   x"), kNotFound);
  EXPECT_EQ(Find("^E\t.+", "E\tdisk full"), (Found{0, 11}));
  EXPECT_EQ(Find("^E\t.+", "E   disk full"), kNotFound);
  EXPECT_EQ(Find("^[|]\t.+", "|\tsummary"), (Found{0, 9}));
  EXPECT_EQ(Find("^[|]   .+", "|   summary"), (Found{0, 11}));
  EXPECT_EQ(Find("^[|]\t.+", "x|\tsummary"), kNotFound);
}

TEST(RegExprMatch, FailedAnywhereWithTextOnBothSides) {
  EXPECT_EQ(Find(".+FAILED.+", "build FAILED here"), (Found{0, 17}));
  EXPECT_EQ(Find(".+FAILED.+", "FAILED here"), kNotFound);
  EXPECT_EQ(Find(".+FAILED.+", "build FAILED"), kNotFound);
  EXPECT_EQ(Find(".+FAILED.+", "build failed here"), kNotFound);
  EXPECT_EQ(Find(".+FAILED.+", "FAILED FAILED"), kNotFound);
  EXPECT_EQ(Find(".+FAILED.+", "a FAILED FAILED b"), (Found{0, 17}));
  EXPECT_EQ(Find(".+FAILED.+", "xFAILEDFAILED"), (Found{0, 13}));
  EXPECT_EQ(Find(".+FAILED.+", "FAILEDxFAILED"), kNotFound);
  EXPECT_EQ(Find(".+FAILED.+", "FFAILEDD"), (Found{0, 8}));
}

TEST(RegExprMatch, PositionAndLengthOfTheFirstMatch) {
  EXPECT_EQ(Find("b", "abc"), (Found{1, 1}));
  EXPECT_EQ(Find("bc", "abcbc"), (Found{1, 2}));
  EXPECT_EQ(Find("b+", "abbbc"), (Found{1, 3}));
  EXPECT_EQ(Find("a*ab", "xaaab"), (Found{1, 4}));
  EXPECT_EQ(Find("x.*y", "axbyyc"), (Found{1, 4}));
  EXPECT_EQ(Find("ab|b", "xab"), (Found{1, 2}));
  EXPECT_EQ(Find("b|ab", "xab"), (Found{1, 2}));
  EXPECT_EQ(Find("a|ab", "ab"), (Found{0, 1}));
  EXPECT_EQ(Find("abc*", "ab"), (Found{0, 2}));
  EXPECT_EQ(Find("abc+", "abd"), kNotFound);
  EXPECT_EQ(Find("colou?r", "the color"), (Found{4, 5}));
  EXPECT_EQ(Find("colou?r", "the colour"), (Found{4, 6}));
}

TEST(RegExprMatch, EmptyMatches) {
  EXPECT_EQ(Find("a*", ""), (Found{0, 0}));
  EXPECT_EQ(Find("a*", "bbb"), (Found{0, 0}));
  EXPECT_EQ(Find("", "abc"), (Found{0, 0}));
  EXPECT_EQ(Find("$", "abc"), (Found{3, 0}));
  EXPECT_EQ(Find("^", "abc"), (Found{0, 0}));
  EXPECT_EQ(Find("^$", ""), (Found{0, 0}));
  EXPECT_EQ(Find("^$", "a"), kNotFound);
  EXPECT_EQ(Find("x?$", "ab"), (Found{2, 0}));
}

TEST(RegExprMatch, AnchorsReferToTheWholeText) {
  EXPECT_EQ(Find("a^b", "a^b"), kNotFound);
  EXPECT_EQ(Find("a$b", "a$b"), kNotFound);
  EXPECT_EQ(Find("(^a|b)", "xa"), kNotFound);
  EXPECT_EQ(Find("(^a|b)", "xb"), (Found{1, 1}));
  EXPECT_EQ(Find("c$", "abc"), (Found{2, 1}));
  EXPECT_EQ(Find("c$", "abcd"), kNotFound);
  EXPECT_EQ(Find("x*^a", "a"), (Found{0, 1}));
}

TEST(RegExprMatch, SetsAndEscapes) {
  EXPECT_EQ(Find("[a-c]+", "xxbcaz"), (Found{2, 3}));
  EXPECT_EQ(Find("[^a-c]+", "abxyc"), (Found{2, 2}));
  EXPECT_EQ(Find("[^a]", "aaa"), kNotFound);
  EXPECT_EQ(Find("[]a]*", "]a]b"), (Found{0, 3}));
  EXPECT_EQ(Find("[a-]", "x-"), (Found{1, 1}));
  EXPECT_EQ(Find("[\\]", "a\\"), (Found{1, 1}));
  EXPECT_EQ(Find("\\.", "a.b"), (Found{1, 1}));
  EXPECT_EQ(Find("\\.", "ab"), kNotFound);
  EXPECT_EQ(Find("a\\*", "aa*"), (Found{1, 2}));
  EXPECT_EQ(Find("\\(", "f(x)"), (Found{1, 1}));
  // 8-bit characters compare by byte, sets and ranges by unsigned value.
  EXPECT_EQ(Find("[\xe0-\xff]+", "caf\xe9\xe8!"), (Found{3, 2}));
  EXPECT_EQ(Find("\xe9", "caf\xe9"), (Found{3, 1}));
  EXPECT_EQ(Find("[^\x01-\x7f]", "abc\x80"), (Found{3, 1}));
}

TEST(RegExprMatch, CaseSensitive) {
  EXPECT_EQ(Find("Error", "error"), kNotFound);
  EXPECT_EQ(Find("[A-Z]+", "abcDEf"), (Found{3, 2}));
}

TEST(RegExprMatch, GroupOfCaseVariantsFindsEachAndNoOtherMix) {
  RegExpr re("=(error|Error|ERROR)!");
  for (const char* text : {"a=error!", "=Error!b", "x =ERROR!"})
    EXPECT_NE(Find(re, text).position, -1) << text;
  for (const char* text : {"a=eRRor!", "=error", "ERROR!", "=Errors!"})
    EXPECT_EQ(Find(re, text), kNotFound) << text;
  // The text may hold the word in another mix before the match.
  EXPECT_EQ(Find(re, "eRRoR =ERROR!"), (Found{6, 7}));
}

TEST(RegExprMatch, OffsetStartsTheSearchLater) {
  RegExpr re("a");
  int length = 0;
  const char* text = "abca";
  EXPECT_EQ(re.Match(text, length, 0), 0);
  EXPECT_EQ(re.Match(text, length, 1), 2);
  EXPECT_EQ(length, 1);
  // "^" is the start of the searched text.
  RegExpr anchored("^c");
  EXPECT_EQ(anchored.Match(text, length, 2), 0);
  RegExpr star("a*");
  EXPECT_EQ(star.Match(text, length, 4), 0);
  EXPECT_EQ(length, 0);
}

TEST(RegExprMatch, NothingFoundLeavesLengthAlone) {
  RegExpr re("zz");
  int length = 42;
  EXPECT_EQ(re.Match("abc", length), -1);
  EXPECT_EQ(length, 42);
  EXPECT_TRUE(re.lastError().empty());
}

TEST(RegExprMatch, FailedPatternNeverMatches) {
  RegExpr re("a(b");
  int length = 7;
  EXPECT_EQ(re.Match("ab", length), -1);
  EXPECT_EQ(re.lastError(), "NULL parameter");
  EXPECT_EQ(length, 7);
  RegExpr fine("a");
  EXPECT_EQ(fine.Match(nullptr, length), -1);
  EXPECT_EQ(fine.lastError(), "NULL parameter");
}

TEST(RegExprGroups, LastRepetitionOfAGroup) {
  RegExpr re("x(ab)*y");
  const std::string text = "xababy";
  EXPECT_EQ(Find(re, text), (Found{0, 6}));
  EXPECT_EQ(Group(re, text, 0), std::make_pair(0, 6));
  EXPECT_EQ(Group(re, text, 1), std::make_pair(3, 5));

  RegExpr alternatives("(a|b)+c?");
  const std::string zz = "zzbac";
  EXPECT_EQ(Find(alternatives, zz), (Found{2, 3}));
  EXPECT_EQ(Group(alternatives, zz, 1), std::make_pair(3, 4));
}

TEST(RegExprGroups, GroupsThatTookNoPartAreNone) {
  RegExpr re("(a)|(b)");
  const std::string text = "b";
  EXPECT_EQ(Find(re, text), (Found{0, 1}));
  EXPECT_EQ(Group(re, text, 1), std::make_pair(-1, -1));
  EXPECT_EQ(Group(re, text, 2), std::make_pair(0, 1));
  for (int n = 3; n < kRegGroupSlots; ++n)
    EXPECT_EQ(Group(re, text, n), std::make_pair(-1, -1));

  RegExpr optional("a(x)?b");
  const std::string ab = "ab";
  EXPECT_EQ(Find(optional, ab), (Found{0, 2}));
  EXPECT_EQ(Group(optional, ab, 1), std::make_pair(-1, -1));
}

TEST(RegExprGroups, NestedAndEmptyGroups) {
  RegExpr re("((a)(b))c");
  const std::string text = "xabc";
  EXPECT_EQ(Find(re, text), (Found{1, 3}));
  EXPECT_EQ(Group(re, text, 1), std::make_pair(1, 3));
  EXPECT_EQ(Group(re, text, 2), std::make_pair(1, 2));
  EXPECT_EQ(Group(re, text, 3), std::make_pair(2, 3));

  RegExpr empty("a(|b)c");
  const std::string ac = "ac";
  EXPECT_EQ(Find(empty, ac), (Found{0, 2}));
  EXPECT_EQ(Group(empty, ac, 1), std::make_pair(1, 1));

  RegExpr nine("(a)(b)(c)(d)(e)(f)(g)(h)(i)");
  const std::string letters = "abcdefghi";
  EXPECT_EQ(Find(nine, letters), (Found{0, 9}));
  EXPECT_EQ(Group(nine, letters, 9), std::make_pair(8, 9));
}

TEST(RegExprGroups, KeptFromTheLastRepetitionThatReachedThem) {
  // The inner group took part in the first repetition only; its slot keeps that one.
  RegExpr re("((a)|b)+");
  const std::string text = "ab";
  EXPECT_EQ(Find(re, text), (Found{0, 2}));
  EXPECT_EQ(Group(re, text, 1), std::make_pair(1, 2));
  EXPECT_EQ(Group(re, text, 2), std::make_pair(0, 1));
}

TEST(RegExprGroups, AFailedSearchLeavesEveryGroupNone) {
  RegExpr re("x(ab)");
  const std::string hit = "xab";
  ASSERT_EQ(Find(re, hit), (Found{0, 3}));
  const std::string miss = "xa ab";
  EXPECT_EQ(Find(re, miss), kNotFound);
  EXPECT_EQ(Group(re, miss, 0), std::make_pair(-1, -1));
  EXPECT_EQ(Group(re, miss, 1), std::make_pair(-1, -1));
  // Rejected before any attempt because the text lacks a literal every match needs.
  ASSERT_EQ(Find(re, hit), (Found{0, 3}));
  EXPECT_EQ(Find(re, "yyy"), kNotFound);
  EXPECT_EQ(re.program()->groupStart[1], nullptr);
  EXPECT_EQ(re.program()->groupStart[0], nullptr);
}

TEST(RegExprGroups, MustTextRejectionRunsNoAttempt) {
  RegExpr re(".*FAILED");
  const std::string hit = "a FAILED";
  ASSERT_EQ(Find(re, hit), (Found{0, 8}));
  const std::string miss = "xx FAILE";
  EXPECT_EQ(Find(re, miss), kNotFound);
  // No attempt ran, so the slots still describe the previous match.
  EXPECT_EQ(re.program()->groupStart[0], hit.c_str());
  EXPECT_EQ(re.program()->groupEnd[0], hit.c_str() + 8);
}

// ---------------------------------------------------------------------------------------------
// Properties over generated expressions.

TEST(RegExprProperties, WholeMatchAgreesWithABacktrackingReference) {
  PatternGenerator generator(20240601);
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string pattern = generator.Pattern();
    RegExpr re(pattern);
    if (re.program() == nullptr)
      continue;  // refused: empty repetition or too many groups
    std::regex reference;
    try {
      reference.assign(pattern, std::regex::ECMAScript);
    } catch (const std::regex_error& e) {
      FAIL() << pattern << ": " << e.what();
    }
    for (int t = 0; t < 8; ++t) {
      const std::string text = generator.Text();
      std::smatch match;
      const Found expected =
          std::regex_search(text, match, reference)
              ? Found{static_cast<int>(match.position(0)), static_cast<int>(match.length(0))}
              : kNotFound;
      ASSERT_EQ(Find(re, text), expected) << "pattern " << pattern << " text " << text;
      ++compared;
    }
  }
  EXPECT_GT(compared, 10000);
}

// The early rejections and the single attempt after a leading .* or .+ must never change an
// answer: the same program without them has to give the same results and groups.
TEST(RegExprProperties, SearchShortcutsNeverChangeAResult) {
  PatternGenerator generator(77);
  int withShortcut = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string pattern = generator.Pattern();
    if (round % 3 == 0)
      pattern = ".*" + pattern;
    if (round % 3 == 1)
      pattern = ".+" + pattern;
    RegExpr re(pattern);
    if (re.program() == nullptr)
      continue;
    const RegProgram& program = *re.program();
    if (program.requiredText == nullptr && !program.singleAttempt && !program.hasStartBytes)
      continue;
    ++withShortcut;
    RegProgram::Owner plain = RegProgram::Allocate(program.codeSize);
    std::memcpy(plain->code(), program.code(), static_cast<std::size_t>(program.codeSize));
    plain->firstChar = program.firstChar;
    plain->anchored = program.anchored;
    if (program.mustText != nullptr) {
      plain->mustText = reinterpret_cast<const char*>(plain->code()) +
                        (program.mustText - reinterpret_cast<const char*>(program.code()));
      plain->mustLength = program.mustLength;
    }
    RegExpr runner("");
    for (int t = 0; t < 8; ++t) {
      const std::string text = generator.Text();
      const int expected = runner.Execute(plain.get(), text.c_str());
      ASSERT_EQ(re.Execute(re.program(), text.c_str()), expected) << pattern << " / " << text;
      for (int slot = 0; slot < kRegGroupSlots; ++slot) {
        ASSERT_EQ(re.program()->groupStart[slot], plain->groupStart[slot]) << pattern;
        ASSERT_EQ(re.program()->groupEnd[slot], plain->groupEnd[slot]) << pattern;
      }
    }
  }
  EXPECT_GT(withShortcut, 500);
}

}  // namespace
}  // namespace brontel
