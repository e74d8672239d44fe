#include "classify/SymbolColor.h"

#include <gtest/gtest.h>

namespace brontel {
namespace {

using ui::FontStyle;

TEST(ParseIntegerText, ReadsDecimalAndEveryHexadecimalPrefix) {
  EXPECT_EQ(ParseIntegerText("255"), 255);
  EXPECT_EQ(ParseIntegerText("$FF"), 255);
  EXPECT_EQ(ParseIntegerText("xff"), 255);
  EXPECT_EQ(ParseIntegerText("XfF"), 255);
  EXPECT_EQ(ParseIntegerText("0xFF"), 255);
  EXPECT_EQ(ParseIntegerText("0X00ff"), 255);
  EXPECT_EQ(ParseIntegerText("0"), 0);
  EXPECT_EQ(ParseIntegerText("007"), 7);
}

TEST(ParseIntegerText, TakesLeadingBlanksAndASign) {
  EXPECT_EQ(ParseIntegerText("   42"), 42);
  EXPECT_EQ(ParseIntegerText("+42"), 42);
  EXPECT_EQ(ParseIntegerText("-42"), -42);
  EXPECT_EQ(ParseIntegerText("  -$10"), -16);
  EXPECT_EQ(ParseIntegerText("-0x10"), -16);
}

TEST(ParseIntegerText, RefusesEverythingElse) {
  for (const char* text : {"", " ", "-", "+", "$", "x", "0x", "abc", "12a", "42 ", "- 1", "1.5",
                           "$G", "+-1", "\t1", "0x-1", "$ 1"}) {
    EXPECT_FALSE(ParseIntegerText(text).has_value()) << '"' << text << '"';
  }
}

TEST(ParseIntegerText, DecimalKeepsToTheSignedRangeWhileHexUsesAllBits) {
  EXPECT_EQ(ParseIntegerText("2147483647"), 2147483647);
  EXPECT_EQ(ParseIntegerText("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ParseIntegerText("2147483648").has_value());
  EXPECT_FALSE(ParseIntegerText("-2147483649").has_value());
  EXPECT_FALSE(ParseIntegerText("99999999999999999999999").has_value());
  EXPECT_EQ(ParseIntegerText("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseIntegerText("$80000005"), static_cast<std::int32_t>(0x80000005u));
  EXPECT_FALSE(ParseIntegerText("$100000000").has_value());
  EXPECT_EQ(ParseIntegerText("$000000000FF"), 255);
}

TEST(ColorFromText, NamesIgnoreLetterCase) {
  EXPECT_EQ(ColorFromText("clred"), ui::clRed);
  EXPECT_EQ(ColorFromText("CLRED"), ui::clRed);
  EXPECT_EQ(ColorFromText("clWindowText"), 0x80000008u);
  EXPECT_EQ(ColorFromText("clwindow"), 0x80000005u);
  EXPECT_EQ(ColorFromText("CLNONE"), 0x1FFFFFFFu);
}

TEST(ColorFromText, KnowsEveryNamedColourWithItsValue) {
  const std::pair<const char*, ui::Color> plain[] = {
      {"clBlack", 0x000000}, {"clMaroon", 0x000080},  {"clGreen", 0x008000},
      {"clOlive", 0x008080}, {"clNavy", 0x800000},    {"clPurple", 0x800080},
      {"clTeal", 0x808000},  {"clGray", 0x808080},    {"clSilver", 0xC0C0C0},
      {"clRed", 0x0000FF},   {"clLime", 0x00FF00},    {"clYellow", 0x00FFFF},
      {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
      {"clWhite", 0xFFFFFF}};
  for (const auto& [name, value] : plain)
    EXPECT_EQ(ColorFromText(name), value) << name;
  const char* system[] = {
      "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
      "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
      "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
      "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
      "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
      "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
      "clInfoBk"};
  for (std::uint32_t n = 0; n < std::size(system); ++n)
    EXPECT_EQ(ColorFromText(system[n]), 0x80000000u + n) << system[n];
}

TEST(ColorFromText, FallsBackToTheIntegerForm) {
  EXPECT_EQ(ColorFromText("$0000FF"), ui::clRed);
  EXPECT_EQ(ColorFromText("255"), ui::clRed);
  EXPECT_EQ(ColorFromText(" 0x80000008"), ui::clWindowText);
  EXPECT_EQ(ColorFromText("-1"), 0xFFFFFFFFu);
}

TEST(ColorFromText, NeitherNameNorNumberGivesNothing) {
  EXPECT_FALSE(ColorFromText("clRedd").has_value());
  EXPECT_FALSE(ColorFromText(" clRed").has_value());
  EXPECT_FALSE(ColorFromText("red").has_value());
  EXPECT_FALSE(ColorFromText("").has_value());
}

TEST(StyleFromText, OnlyBoldItalicAndUnderlineBitsCount) {
  EXPECT_EQ(StyleFromText("1"), FontStyle::Bold);
  EXPECT_EQ(StyleFromText("6"), FontStyle::Italic | FontStyle::Underline);
  EXPECT_EQ(StyleFromText("7"), FontStyle::Bold | FontStyle::Italic | FontStyle::Underline);
  EXPECT_EQ(StyleFromText("8"), FontStyle::None);
  EXPECT_EQ(StyleFromText("$F"), FontStyle::Bold | FontStyle::Italic | FontStyle::Underline);
  EXPECT_EQ(StyleFromText("-1"), FontStyle::Bold | FontStyle::Italic | FontStyle::Underline);
  EXPECT_EQ(StyleFromText("0"), FontStyle::None);
}

TEST(StyleFromText, AnInvalidTextGivesNoStyle) {
  EXPECT_EQ(StyleFromText("abc"), FontStyle::None);
  EXPECT_EQ(StyleFromText(""), FontStyle::None);
  EXPECT_EQ(StyleFromText("1 "), FontStyle::None);
}

}  // namespace
}  // namespace brontel
