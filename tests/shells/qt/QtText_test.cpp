#include "shells/qt/QtText.h"

#include <gtest/gtest.h>

#include <string>

namespace brontel::qt {
namespace {

using namespace std::string_literals;

TEST(QtTextTest, WellFormedUtf8IsToldFromLookAlikes) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(
      IsValidUtf8("Gr\xC3\xBC\xC3\x9F"
                  "e \xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short at the end
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong slash
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong in three bytes
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80 stray continuation"));
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));  // Latin-1 text
}

TEST(QtTextTest, Utf8ShowsAsUtf8AndEverythingElseByteForByte) {
  EXPECT_EQ(FromBytes("Gr\xC3\xBC\xC3\x9F"
                      "e"),
            QString::fromUtf8("Grüße"));
  const QString latin = FromBytes("caf\xE9");
  ASSERT_EQ(latin.size(), 4);
  EXPECT_EQ(latin.at(3).unicode(), 0xE9);
  const std::string binary = "\x00\x01\xFF\xC3"s;
  const QString shown = FromBytes(binary);
  ASSERT_EQ(shown.size(), 4);  // one character per byte, zero bytes included
  EXPECT_EQ(shown.at(0).unicode(), 0);
  EXPECT_EQ(shown.at(2).unicode(), 0xFF);
}

TEST(QtTextTest, TypedTextComesBackAsUtf8) {
  EXPECT_EQ(ToBytes(QString::fromUtf8("Grüße")),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(ToBytes(QString()), "");
}

}  // namespace
}  // namespace brontel::qt
