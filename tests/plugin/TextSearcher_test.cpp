#include "plugin/TextSearcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "tests/plugin/LiteralSearch.h"
#include "tests/plugin/TestCasings.h"

namespace brontel {
namespace {

using testing::JoinLines;

constexpr int kPlain = 0;
constexpr int kCase = kSearchMatchCase;
constexpr int kWords = kSearchWholeWords;
constexpr int kBack = kSearchBackwards;

// A searcher over the joined lines, owning the text it searches.
class Searched {
 public:
  explicit Searched(const std::vector<std::string>& lines,
                    platform::UpperCaseMap casing = testing::Latin1Casing())
      : text_(JoinLines(lines)), searcher_(text_, std::move(casing)) {}
  TextOffset Find(std::string_view pattern, TextOffset start, int flags) const {
    return searcher_.Search(pattern, start, flags);
  }
  TextOffset Size() const { return static_cast<TextOffset>(text_.size()); }

 private:
  std::string text_;
  TextSearcher searcher_;
};

TEST(WordDelimiters, AreExactlyTheEighteenSeparators) {
  const std::string expected = "\t\n\r #(),./:;[\\]_{}";
  int count = 0;
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool listed = expected.find(c) != std::string::npos;
    EXPECT_EQ(IsWordDelimiter(c), listed) << "byte " << byte;
    count += IsWordDelimiter(c) ? 1 : 0;
  }
  EXPECT_EQ(count, 18);
  EXPECT_FALSE(IsWordDelimiter('-'));
  EXPECT_FALSE(IsWordDelimiter('\''));
  EXPECT_FALSE(IsWordDelimiter('\0'));
  EXPECT_FALSE(IsWordDelimiter('\xA0'));
}

TEST(TextSearcherForward, FindsSubstringsAndWholeWords) {
  const Searched warning({"a warning"});
  EXPECT_EQ(warning.Find("warn", 0, kPlain), 2);
  EXPECT_EQ(warning.Find("warn", 0, kWords), kNotFound);

  EXPECT_EQ(Searched({"my_error"}).Find("error", 0, kWords), 3);
  EXPECT_EQ(Searched({"(error)"}).Find("error", 0, kWords), 1);
  EXPECT_EQ(Searched({"pre-error"}).Find("error", 0, kWords), kNotFound);
  EXPECT_EQ(Searched({"errors"}).Find("error", 0, kWords), kNotFound);
  // Overlapping occurrences are tried one byte on: the second "aa" of "aaa aa" is the word.
  EXPECT_EQ(Searched({"aaa aa"}).Find("aa", 0, kWords), 4);
}

TEST(TextSearcherForward, StartsWhereAsked) {
  const Searched abc({"abc abc abc"});
  EXPECT_EQ(abc.Find("abc", 5, kPlain), 8);
  EXPECT_EQ(abc.Find("abc", 0, kPlain), 0);
  EXPECT_EQ(abc.Find("abc", 8, kPlain), 8);
  EXPECT_EQ(abc.Find("abc", 9, kPlain), kNotFound);
  // The region's first byte counts as the start of a word, whatever stands before it.
  EXPECT_EQ(Searched({"abcdef"}).Find("def", 3, kWords), 3);
  EXPECT_EQ(Searched({"abcdef"}).Find("def", 2, kWords), kNotFound);
}

TEST(TextSearcherCase, UpperCasesUnlessCaseMatters) {
  const Searched error({"An Error here"});
  EXPECT_EQ(error.Find("ERROR", 0, kPlain), 3);
  EXPECT_EQ(error.Find("ERROR", 0, kCase), kNotFound);
  EXPECT_EQ(error.Find("Error", 0, kCase), 3);
  EXPECT_EQ(error.Find("error", 0, kBack), 3);
  // Accented letters of the locale match too: é (0xE9) finds É (0xC9) in Latin-1.
  const Searched accents({"caf\xC9 ok"});
  EXPECT_EQ(accents.Find("caf\xE9", 0, kPlain), 0);
  EXPECT_EQ(accents.Find("caf\xE9", 0, kCase), kNotFound);
}

TEST(TextSearcherCase, FoldsTwoByteLettersInUtf8AtByteOffsets) {
  const Searched text({"\xC3\xA9t\xC3\xA9 CAF\xC3\x89"}, testing::Utf8Casing());  // été CAFÉ
  EXPECT_EQ(text.Find("caf\xC3\xA9", 0, kPlain), 6);
  EXPECT_EQ(text.Find("caf\xC3\xA9", 0, kCase), kNotFound);
  EXPECT_EQ(text.Find("\xC3\x89T\xC3\x89", 0, kWords), 0);
  EXPECT_EQ(text.Find("\xC3\x89", 0, kBack), 9);
  // The ÿ of the text upper-cases to Ÿ with both bytes changed.
  EXPECT_EQ(Searched({"x\xC3\xBF"}, testing::Utf8Casing()).Find("\xC5\xB8", 0, kPlain), 1);
}

TEST(TextSearcherCase, ReadsNeighboursOutsideTheRegion) {
  // From offset 2 the region starts inside É; the byte there still upper-cases as part of it, as
  // it does when the whole text is upper-cased first: 0xA9 of é becomes 0x89.
  const Searched text({"x\xC3\xA9"}, testing::Utf8Casing());
  EXPECT_EQ(text.Find("\x89", 2, kPlain), 2);
  EXPECT_EQ(text.Find("\xA9", 2, kPlain), kNotFound);
  EXPECT_EQ(text.Find("\xA9", 2, kCase), 2);
}

TEST(TextSearcherBackward, SearchesBeforeStartMinusOne) {
  const Searched abc({"abc abc abc"});
  EXPECT_EQ(abc.Find("abc", 0, kBack), 8);
  EXPECT_EQ(abc.Find("abc", 10, kBack), 4);
  EXPECT_EQ(abc.Find("abc", 12, kBack), 8);
  EXPECT_EQ(abc.Find("abc", 11, kBack), 4);
  EXPECT_EQ(abc.Find("abc", 3, kBack), kNotFound);
  EXPECT_EQ(abc.Find("abc", 4, kBack), 0);
  EXPECT_EQ(abc.Find("abc", 1, kBack), kNotFound);
}

TEST(TextSearcherBackward, WholeWordsNeedDelimitersInsideTheRegion) {
  const Searched at_start({"abc"});
  EXPECT_EQ(at_start.Find("abc", 0, kBack), 0);
  EXPECT_EQ(at_start.Find("abc", 0, kBack | kWords), kNotFound);

  const Searched words({"x abc def"});
  EXPECT_EQ(words.Find("abc", 0, kBack | kWords), 2);
  // Region "x abc": the word ends where the region ends, so it is not taken.
  EXPECT_EQ(words.Find("abc", 6, kBack), 2);
  EXPECT_EQ(words.Find("abc", 6, kBack | kWords), kNotFound);
  EXPECT_EQ(words.Find("abc", 7, kBack | kWords), 2);
  EXPECT_EQ(words.Find("def", 0, kBack | kWords), 6);
}

TEST(TextSearcherZeroByte, HidesTheRestOfTheRegion) {
  const Searched text({std::string("ab\0cd", 5), "cd"});
  EXPECT_EQ(text.Find("cd", 0, kPlain), kNotFound);
  EXPECT_EQ(text.Find("cd", 2, kPlain), kNotFound);
  EXPECT_EQ(text.Find("cd", 3, kPlain), 3);
  EXPECT_EQ(text.Find("cd", 3, kWords), 3);
  EXPECT_EQ(text.Find("cd", 0, kBack), kNotFound);
  EXPECT_EQ(text.Find("ab", 0, kBack), 0);
  EXPECT_EQ(text.Find("ab", 4, kBack), 0);
  // The byte before the zero ends the region, so a word may end there.
  EXPECT_EQ(Searched({std::string("x ab\0", 5)}).Find("ab", 0, kWords), 2);
  // A pattern ends at its own first zero byte.
  EXPECT_EQ(Searched({"xaby"}).Find(std::string_view("ab\0zz", 5), 0, kPlain), 1);
}

TEST(TextSearcherLineEnds, JoinLinesWithCarriageReturnAndLineFeed) {
  const Searched text({"abc", "def"});
  EXPECT_EQ(text.Size(), 10);
  EXPECT_EQ(text.Find("def", 0, kWords), 5);
  EXPECT_EQ(text.Find("abc", 0, kBack | kWords), kNotFound);
  EXPECT_EQ(text.Find("def", 0, kBack | kWords), 5);
  EXPECT_EQ(text.Find("c\r\nd", 0, kPlain), 2);
  EXPECT_EQ(text.Find("\r\n", 4, kPlain), 8);
}

TEST(TextSearcherEmptyPattern, IsFoundOnlyByAPlainForwardSearch) {
  const Searched text({"abc"});
  EXPECT_EQ(text.Find("", 0, kPlain), 0);
  EXPECT_EQ(text.Find("", 2, kCase), 2);
  EXPECT_EQ(text.Find("", text.Size(), kPlain), text.Size());
  EXPECT_EQ(text.Find(std::string_view("\0a", 2), 1, kPlain), 1);
  EXPECT_EQ(text.Find("", 0, kWords), kNotFound);
  EXPECT_EQ(text.Find("", 0, kBack), kNotFound);
  EXPECT_EQ(text.Find("", 3, kBack | kWords), kNotFound);
}

TEST(TextSearcherLimits, AnswersNotFoundOutsideTheText) {
  EXPECT_EQ(TextSearcher().Search("a", 0, kPlain), kNotFound);
  EXPECT_EQ(TextSearcher().Search("", 0, kPlain), kNotFound);
  EXPECT_EQ(TextSearcher(std::string_view()).Search("a", 0, kBack), kNotFound);

  const Searched text({"abc"});
  EXPECT_EQ(text.Find("a", -1, kPlain), kNotFound);
  EXPECT_EQ(text.Find("a", -1, kBack), kNotFound);
  EXPECT_EQ(text.Find("", text.Size() + 1, kPlain), kNotFound);
  EXPECT_EQ(text.Find("a", text.Size() + 1, kPlain), kNotFound);
  EXPECT_EQ(text.Find("c", 1000, kBack), 2);
  EXPECT_EQ(text.Find("abcd", 0, kPlain), kNotFound);
  EXPECT_EQ(text.Find("abc\r\n!", 0, kBack), kNotFound);
}

TEST(TextSearcherFlags, IgnoresBitsItDoesNotKnow) {
  const Searched abc({"abc abc abc"});
  EXPECT_EQ(abc.Find("ABC", 5, 1), 8);
  EXPECT_EQ(abc.Find("ABC", 5, 1 | 16 | 64), 8);
  EXPECT_EQ(abc.Find("abc", 10, kBack | 1 | 256), 4);
}

TEST(TextScans, StayInsideTheText) {
  const std::string text = "ab ab";
  const platform::UpperCaseMap casing;
  EXPECT_EQ(ScanForward(text, 6, "a", nullptr), kNotFound);
  EXPECT_EQ(ScanForwardWholeWords(text, 99, "ab", &casing), kNotFound);
  EXPECT_EQ(ScanForward(text, 5, "", nullptr), kNotFound);
  EXPECT_EQ(ScanBackward(text, 99, "AB", &casing), 3);
  EXPECT_EQ(ScanBackwardWholeWords(text, 99, "ab", nullptr), kNotFound);
  EXPECT_EQ(ScanBackward(std::string_view(), 0, "a", nullptr), kNotFound);
}

TEST(TextSearcherSystemLocale, FindsAccentedLettersInAnyCaseUnderCUtf8) {
  platform::UpperCaseMap casing;
  try {
    casing = platform::UpperCaseMapOfLocale("C.UTF-8");
  } catch (const platform::PlatformError&) {
    GTEST_SKIP() << "no C.UTF-8 locale";
  }
  const std::string e_acute = "\xC3\xA9";
  const std::string e_acute_upper = "\xC3\x89";
  const std::string text = JoinLines(
      {"Erreur: " + e_acute + "chec de l'op" + e_acute + "ration", e_acute_upper + "CHEC"});
  const TextSearcher searcher(text, casing);
  EXPECT_EQ(searcher.Search(e_acute_upper + "CHEC", 0, kPlain), 8);
  EXPECT_EQ(searcher.Search(e_acute + "chec", 0, kBack), 32);
  EXPECT_EQ(searcher.Search(e_acute + "chec", 0, kBack | kCase), 8);
  EXPECT_EQ(searcher.Search("OP" + e_acute_upper + "RATION", 0, kWords),
            kNotFound);  // ' is no delimiter
  EXPECT_EQ(searcher.Search("L'OP" + e_acute_upper + "RATION", 0, kWords), 18);
}

TEST(TextSearcherUserLocale, UpperCasesAsciiInAnyLocale) {
  const std::string text = JoinLines({"Warning: disk full"});
  const TextSearcher searcher(text);
  EXPECT_EQ(searcher.Search("DISK", 0, kPlain), 9);
  EXPECT_EQ(searcher.Search("warning", 0, kBack | kWords), kNotFound);
  EXPECT_EQ(searcher.Search("full", 0, kBack | kWords), 14);
}

}  // namespace
}  // namespace brontel
