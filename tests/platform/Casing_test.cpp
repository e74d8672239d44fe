#include "platform/Casing.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "platform/PlatformError.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/ScratchFolder.h"

// The C library leaks the search path it builds for every locale it opens while LOCPATH is set,
// which the locale tests below do; the leak checker is told to pass over that one leak.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:__argz_add_sep\n";
}

namespace brontel::platform {
namespace {

// A UTF-8 locale made up for the tests: Latin-1 letters, ÿ to Ÿ, Latin Extended-A pairs, the
// one-byte upper-case forms of ı and ſ, and Greek, which is not Latin and so is left alone.
UpperCaseMap MadeUpUtf8() {
  return UpperCaseMap::Utf8(
      [](unsigned char byte) -> unsigned char {
        return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
      },
      [](char32_t c) -> char32_t {
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
          return c - 32;
        if (c == 0xFF)
          return 0x178;
        if (c == 0x131)
          return 'I';
        if (c == 0x17F)
          return 'S';
        if (c >= 0x100 && c < 0x178 && (c & 1) == 1)
          return c - 1;
        if (c >= 0x3B1 && c <= 0x3C9)
          return c - 32;
        return c;
      });
}

// Random bytes drawn mostly from the ones that make or break two-byte sequences.
std::string RandomUtf8ishBytes(std::mt19937& random, std::size_t length) {
  static const unsigned char kBytes[] = {'a',  'Z',  ' ',  0x00, 0x80, 0x89, 0xA9, 0xB1, 0xBF, 0xC2,
                                         0xC3, 0xC4, 0xC5, 0xCE, 0xDF, 0xE0, 0xE2, 0xF0, 0xFF};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kBytes - 1);
  std::string bytes;
  for (std::size_t i = 0; i < length; ++i)
    bytes += static_cast<char>(kBytes[pick(random)]);
  return bytes;
}

TEST(UpperCaseMap, OfTheCLocaleUpperCasesOnlyAsciiLetters) {
  const UpperCaseMap map;
  EXPECT_FALSE(map.FoldsUtf8Pairs());
  EXPECT_EQ(map.Upper("abc xyz-09_AZ{}"), "ABC XYZ-09_AZ{}");
  EXPECT_EQ(map.Upper("\xE9\xC3\xA9\xFF"), "\xE9\xC3\xA9\xFF");
  EXPECT_EQ(map.Upper(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(UpperCaseMap, EightBitMapsEveryByteOnItsOwn) {
  const UpperCaseMap map = UpperCaseMap::EightBit([](unsigned char byte) -> unsigned char {
    if (byte == 0xE9)
      return 0xC9;
    if (byte == 'q')
      return 0;  // refused: no byte may turn into the zero byte
    if (byte == 0)
      return 'Z';  // refused: the zero byte stays what it is
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
  });
  EXPECT_EQ(map.Upper("caf\xE9 q"), "CAF\xC9 q");
  EXPECT_EQ(map.UpperByte(0), 0);
  EXPECT_EQ(map.UpperAt("\xC3\xE9", 1), 0xC9);
  EXPECT_EQ(map.BytesUpperingTo(0xC9), std::bitset<256>().set(0xC9).set(0xE9));
  EXPECT_EQ(map.BytesUpperingTo('A'), std::bitset<256>().set('A').set('a'));
  EXPECT_EQ(map.BytesUpperingTo('a'), std::bitset<256>());
}

TEST(UpperCaseMap, Utf8FoldsTwoByteLatinLettersOfTheSameLength) {
  const UpperCaseMap map = MadeUpUtf8();
  EXPECT_TRUE(map.FoldsUtf8Pairs());
  EXPECT_EQ(map.Upper("caf\xC3\xA9"), "CAF\xC3\x89");            // café
  EXPECT_EQ(map.Upper("\xC3\xBF"), "\xC5\xB8");                  // ÿ to Ÿ, both bytes change
  EXPECT_EQ(map.Upper("\xC4\x81"), "\xC4\x80");                  // ā to Ā
  EXPECT_EQ(map.Upper("\xC4\xB1\xC5\xBF"), "\xC4\xB1\xC5\xBF");  // ı and ſ would get shorter
  EXPECT_EQ(map.Upper("\xCE\xB1"), "\xCE\xB1");                  // Greek α is not Latin
  EXPECT_EQ(map.Upper("\xC3\x89"), "\xC3\x89");                  // already upper case
}

TEST(UpperCaseMap, Utf8LeavesMalformedAndLongerSequencesAlone) {
  const UpperCaseMap map = MadeUpUtf8();
  EXPECT_EQ(map.Upper("\xA9"), "\xA9");                  // a continuation on its own
  EXPECT_EQ(map.Upper("\xC3"), "\xC3");                  // a lead at the end
  EXPECT_EQ(map.Upper("\xC3 \xA9"), "\xC3 \xA9");        // a lead and continuation apart
  EXPECT_EQ(map.Upper("\xC3\xC3\xA9"), "\xC3\xC3\x89");  // the second lead takes the pair
  EXPECT_EQ(map.Upper("\xE9"), "\xE9");                  // a Latin-1 byte is no letter here
  EXPECT_EQ(map.Upper("\xE2\x82\xAC"), "\xE2\x82\xAC");  // €, three bytes
  EXPECT_EQ(map.Upper("\xE0\xC3\xA9"), "\xE0\xC3\x89");  // a broken three-byte start
  EXPECT_EQ(map.Upper(std::string("\xC3\0\xA9", 3)), std::string("\xC3\0\xA9", 3));
}

TEST(UpperCaseMap, Utf8NeverTurnsAsciiIntoOtherBytes) {
  const UpperCaseMap map = UpperCaseMap::Utf8(
      [](unsigned char byte) -> unsigned char { return byte == 'i' ? 0xDD : byte; },
      [](char32_t c) { return c; });
  EXPECT_EQ(map.Upper("i"), "i");
}

TEST(UpperCaseMap, UpperAtAgreesWithUpperAtEveryByte) {
  std::mt19937 random(42);
  for (const UpperCaseMap& map : {MadeUpUtf8(), UpperCaseMap()}) {
    for (int round = 0; round < 2000; ++round) {
      const std::string text = RandomUtf8ishBytes(random, 1 + round % 9);
      const std::string upper = map.Upper(text);
      ASSERT_EQ(upper.size(), text.size());
      for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_EQ(map.UpperAt(text, i), static_cast<unsigned char>(upper[i])) << round << "@" << i;
        // Every byte that upper-cases to some byte is among that byte's preimages.
        ASSERT_TRUE(map.BytesUpperingTo(static_cast<unsigned char>(upper[i]))
                        .test(static_cast<unsigned char>(text[i])));
      }
    }
  }
}

TEST(UpperCaseMap, BytesUpperingToCoversPairsInBothPlaces) {
  const UpperCaseMap map = MadeUpUtf8();
  // 0x89 is É's second byte, reached from é's 0xA9; as ĉ's second byte (C4 89) it becomes 0x88.
  const std::bitset<256> continuation = map.BytesUpperingTo(0x89);
  EXPECT_TRUE(continuation.test(0x89));
  EXPECT_TRUE(continuation.test(0xA9));
  EXPECT_TRUE(map.BytesUpperingTo(0x88).test(0x89));
  // 0xC5 is Ÿ's lead, reached from ÿ's lead 0xC3.
  EXPECT_TRUE(map.BytesUpperingTo(0xC5).test(0xC3));
  EXPECT_EQ(map.BytesUpperingTo('E'), std::bitset<256>().set('E').set('e'));
}

// Locales of the system. C and C.UTF-8 come with every Debian system; an 8-bit locale is made
// for the test with localedef when none is installed.
class SystemLocales : public ::testing::Test {
 protected:
  static void TearDownTestSuite() {
    if (!made_directory_)
      return;
    ::unsetenv("LOCPATH");
    made_directory_.reset();
  }

  // The name of a Latin-1 German locale the system knows now, or nothing.
  static std::optional<std::string> Latin1Locale() {
    static const char* const kName = "de_DE.ISO-8859-1";
    if (Knows(kName))
      return kName;
    if (!made_directory_ && ::getenv("LOCPATH") == nullptr) {
      auto directory = std::make_unique<testing::ScratchFolder>();
      const std::string command =
          "localedef -i de_DE -f ISO-8859-1 '" + directory->File(kName) + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0)
        return std::nullopt;
      ::setenv("LOCPATH", directory->Path().c_str(), 1);
      made_directory_ = std::move(directory);
    }
    if (Knows(kName))
      return kName;
    return std::nullopt;
  }

  static bool Knows(const std::string& name) {
    try {
      UpperCaseMapOfLocale(name);
      return true;
    } catch (const PlatformError&) {
      return false;
    }
  }

  static inline std::unique_ptr<testing::ScratchFolder> made_directory_;
};

TEST_F(SystemLocales, CUtf8FoldsAccentedLatinLetters) {
  const UpperCaseMap map = UpperCaseMapOfLocale("C.UTF-8");
  EXPECT_TRUE(map.FoldsUtf8Pairs());
  EXPECT_EQ(map.Upper("\xC3\xA9t\xC3\xA9"), "\xC3\x89T\xC3\x89");  // été
  EXPECT_EQ(map.Upper("\xC3\xBF\xC5\x93"), "\xC5\xB8\xC5\x92");    // ÿœ
  EXPECT_EQ(map.Upper("stra\xC3\x9F"
                      "e"),
            "STRA\xC3\x9F"
            "E");                                                // ß has no one-letter form
  EXPECT_EQ(map.Upper("\xC4\xB1\xC5\xBF"), "\xC4\xB1\xC5\xBF");  // ı, ſ
  EXPECT_EQ(map.Upper("\xCE\xB1\xD0\xB0"), "\xCE\xB1\xD0\xB0");  // Greek α, Cyrillic а
}

TEST_F(SystemLocales, CLocaleIsAsciiOnly) {
  const UpperCaseMap map = UpperCaseMapOfLocale("C");
  EXPECT_FALSE(map.FoldsUtf8Pairs());
  EXPECT_EQ(map.Upper("caf\xC3\xA9 \xE9"), "CAF\xC3\xA9 \xE9");
}

TEST_F(SystemLocales, EightBitLocaleUpperCasesItsOwnLetters) {
  const std::optional<std::string> name = Latin1Locale();
  if (!name)
    GTEST_SKIP() << "no Latin-1 locale and no localedef to make one";
  const UpperCaseMap map = UpperCaseMapOfLocale(*name);
  EXPECT_FALSE(map.FoldsUtf8Pairs());
  EXPECT_EQ(map.Upper("caf\xE9 \xFC\xE0"), "CAF\xC9 \xDC\xC0");
  EXPECT_EQ(map.Upper("\xDF\xFF\xF7"), "\xDF\xFF\xF7");  // ß, ÿ (no Ÿ in Latin-1), ÷
}

TEST_F(SystemLocales, UnknownLocaleIsAPlatformError) {
  try {
    UpperCaseMapOfLocale("xx_NOWHERE.nothing");
    FAIL() << "no error";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.path(), "xx_NOWHERE.nothing");
    EXPECT_FALSE(error.reason().empty());
  }
}

TEST_F(SystemLocales, UserMapFollowsTheEnvironment) {
  {
    const testing::ScopedVariable all("LC_ALL", "C.UTF-8");
    EXPECT_EQ(UserUpperCaseMap().Upper("\xC3\xA9"), "\xC3\x89");
  }
  {
    const testing::ScopedVariable all("LC_ALL", "C");
    EXPECT_EQ(UserUpperCaseMap().Upper("a\xC3\xA9"), "A\xC3\xA9");
  }
  {
    const testing::ScopedVariable all("LC_ALL", "xx_NOWHERE.nothing");
    EXPECT_EQ(UserUpperCaseMap().Upper("a\xC3\xA9"), "A\xC3\xA9");
  }
  if (const std::optional<std::string> name = Latin1Locale()) {
    const testing::ScopedVariable all("LC_ALL", name->c_str());
    EXPECT_EQ(UserUpperCaseMap().Upper("\xE9"), "\xC9");
  }
}

}  // namespace
}  // namespace brontel::platform
