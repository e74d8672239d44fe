#include "classify/MsgTypeLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/ExtMgr.h"
#include "settings/SettingsFile.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

using testing::MemorySettings;
using ui::FontStyle;

std::vector<MsgTypeMatcherInfo> Load(MemorySettings& store) {
  std::vector<MsgTypeMatcherInfo> types;
  LoadMsgTypes(store, types);
  return types;
}

void ExpectSummary(const MsgTypeMatcherInfo& type, std::int32_t typeNo) {
  EXPECT_EQ(type.name, "Summary");
  EXPECT_EQ(type.shortName, "Summary ");
  EXPECT_EQ(type.typeNo, typeNo);
  EXPECT_EQ(type.color, (TSymbolColor{0xFFFFFF, 0x808080, FontStyle::Bold | FontStyle::Italic}));
  EXPECT_EQ(type.exprTexts, (std::vector<std::string>{"^[|]   .+", "^[|]\t.+"}));
  EXPECT_TRUE(type.compiled.size() == 2 && type.compiled[0]->program() != nullptr &&
              type.compiled[1]->program() != nullptr);
}

TEST(LoadMsgTypes, NoKeysGiveTheFourBuiltInTypes) {
  MemorySettings store;
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 4u);

  EXPECT_EQ(types[0].name, "Error");
  EXPECT_EQ(types[0].shortName, "E");
  EXPECT_EQ(types[0].color, (TSymbolColor{0xFFFFFF, 0x0000FF, FontStyle::Bold}));
  EXPECT_EQ(types[0].exprTexts, (std::vector<std::string>{"^E   .+", "^E\t.+"}));

  EXPECT_EQ(types[1].name, "Warning");
  EXPECT_EQ(types[1].shortName, "W");
  EXPECT_EQ(types[1].color, (TSymbolColor{0x000000, 0x00FFFF, FontStyle::Bold}));
  EXPECT_EQ(types[1].exprTexts, (std::vector<std::string>{"^W   .+", "^W\t.+"}));

  EXPECT_EQ(types[2].name, "Urgent");
  EXPECT_EQ(types[2].shortName, "U");
  EXPECT_EQ(types[2].color,
            (TSymbolColor{0x0000FF, 0x000000, FontStyle::Bold | FontStyle::Italic}));
  EXPECT_EQ(types[2].exprTexts, (std::vector<std::string>{"^U   .+", "^U\t.+", ".+FAILED.+"}));

  ExpectSummary(types[3], 3);
  for (std::int32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(types[i].typeNo, i);
    EXPECT_EQ(types[i].count, 0);
    EXPECT_EQ(types[i].compiled.size(), types[i].exprTexts.size());
  }
  EXPECT_TRUE(std::ranges::none_of(store.log, [](auto& entry) { return entry[0] == 'W'; }));
}

TEST(LoadMsgTypes, ACountBelowOneOrUnreadableSelectsTheBuiltInTypes) {
  for (const char* count : {"0", "-3", "many"}) {
    MemorySettings store;
    store.values["MsgTypes\\Count"] = count;
    store.values["MsgTypes\\Item0"] = "A";
    store.values["MsgTypes.A\\Name"] = "A";
    const std::vector<MsgTypeMatcherInfo> types = Load(store);
    ASSERT_EQ(types.size(), 4u) << count;
    EXPECT_EQ(types[0].name, "Error") << count;
  }
}

TEST(LoadMsgTypes, EmptyItemsTakeNoPositionButKeepTheirNumber) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "2";
  store.values["MsgTypes\\Item1"] = "A";
  store.values["MsgTypes.A\\Name"] = "Alpha";
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].name, "Alpha");
  EXPECT_EQ(types[0].typeNo, 1);
  ExpectSummary(types[1], 2);
}

TEST(LoadMsgTypes, ReadsAnItemsKeysFromItsOwnSectionInTableOrder) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "1";
  store.values["MsgTypes\\Item0"] = "Err";
  store.values["MsgTypes.Err\\Name"] = "Failure";
  store.values["MsgTypes.Err\\ShortName"] = "F";
  store.values["MsgTypes.Err\\ForeColor"] = "clred";
  store.values["MsgTypes.Err\\BackColor"] = "$00FF00";
  store.values["MsgTypes.Err\\Style"] = "6";
  store.values["MsgTypes.Err\\ExprCount"] = "3";
  store.values["MsgTypes.Err\\Expr0"] = "^F .+";
  store.values["MsgTypes.Err\\Expr2"] = "fatal";
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  const MsgTypeMatcherInfo& type = types[0];
  EXPECT_EQ(type.name, "Failure");
  EXPECT_EQ(type.shortName, "F");
  EXPECT_EQ(type.color,
            (TSymbolColor{ui::clRed, ui::clLime, FontStyle::Italic | FontStyle::Underline}));
  EXPECT_EQ(type.exprTexts, (std::vector<std::string>{"^F .+", "fatal"}));
  EXPECT_EQ(type.compiled.size(), 2u);
  EXPECT_EQ(store.log,
            (std::vector<std::string>{
                "R MsgTypes\\Count", "R MsgTypes\\Item0", "R MsgTypes.Err\\Name",
                "R MsgTypes.Err\\ShortName", "R MsgTypes.Err\\ForeColor",
                "R MsgTypes.Err\\BackColor", "R MsgTypes.Err\\Style", "R MsgTypes.Err\\ExprCount",
                "R MsgTypes.Err\\Expr0", "R MsgTypes.Err\\Expr1", "R MsgTypes.Err\\Expr2"}));
}

TEST(LoadMsgTypes, AnItemWithoutColourKeysIsBoldWindowTextOnWindowAndNeverMatches) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "1";
  store.values["MsgTypes\\Item0"] = "Plain";
  std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].color, (TSymbolColor{ui::clWindowText, ui::clWindow, FontStyle::Bold}));
  EXPECT_TRUE(types[0].name.empty());
  EXPECT_TRUE(types[0].exprTexts.empty());
  EXPECT_FALSE(types[0].MatchesLine("E   anything"));
}

TEST(LoadMsgTypes, StylesFromText) {
  const std::pair<const char*, FontStyle> cases[] = {
      {"6", FontStyle::Italic | FontStyle::Underline},
      {"8", FontStyle::None},
      {"abc", FontStyle::None},
      {"15", FontStyle::Bold | FontStyle::Italic | FontStyle::Underline}};
  for (const auto& [text, style] : cases) {
    MemorySettings store;
    store.values["MsgTypes\\Count"] = "1";
    store.values["MsgTypes\\Item0"] = "S";
    store.values["MsgTypes.S\\Style"] = text;
    EXPECT_EQ(Load(store)[0].color.Style, style) << text;
  }
}

TEST(LoadMsgTypes, AColourTypoGivesTheDefaultColourAndLoadingGoesOn) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "2";
  store.values["MsgTypes\\Item0"] = "A";
  store.values["MsgTypes.A\\ForeColor"] = "clRedd";
  store.values["MsgTypes.A\\BackColor"] = "blue";
  store.values["MsgTypes.A\\Style"] = "0";
  store.values["MsgTypes\\Item1"] = "B";
  store.values["MsgTypes.B\\Name"] = "Bravo";
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[0].color, (TSymbolColor{ui::clWindowText, ui::clWindow, FontStyle::None}));
  EXPECT_EQ(types[1].name, "Bravo");
  ExpectSummary(types[2], 2);
}

TEST(LoadMsgTypes, ExprCountZeroOrNegativeReadsNoExpressions) {
  for (const char* exprCount : {"0", "-2"}) {
    MemorySettings store;
    store.values["MsgTypes\\Count"] = "1";
    store.values["MsgTypes\\Item0"] = "A";
    store.values["MsgTypes.A\\ExprCount"] = exprCount;
    store.values["MsgTypes.A\\Expr0"] = "x";
    const std::vector<MsgTypeMatcherInfo> types = Load(store);
    EXPECT_TRUE(types[0].exprTexts.empty()) << exprCount;
    EXPECT_TRUE(types[0].compiled.empty()) << exprCount;
  }
}

TEST(LoadMsgTypes, AbsurdCountsAreCutShortButTheSummaryKeepsTheConfiguredNumber) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "2147483647";
  store.values["MsgTypes\\Item0"] = "A";
  store.values["MsgTypes.A\\ExprCount"] = "2147483647";
  store.values["MsgTypes.A\\Expr0"] = "x";
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].exprTexts, std::vector<std::string>{"x"});
  ExpectSummary(types[1], 2147483647);
  EXPECT_LE(store.log.size(),
            static_cast<std::size_t>(kMaxConfiguredMsgTypes + kMaxExprsPerMsgType + 16));
}

TEST(LoadMsgTypes, ManyTypesWithAbsurdExprCountsShareOneBoundOfExpressionReads) {
  MemorySettings store;
  constexpr int kTypes = 64;
  store.values["MsgTypes\\Count"] = std::to_string(kTypes);
  for (int i = 0; i < kTypes; ++i) {
    const std::string item = "T" + std::to_string(i);
    store.values["MsgTypes\\Item" + std::to_string(i)] = item;
    store.values["MsgTypes." + item + "\\ExprCount"] = "2147483647";
    store.values["MsgTypes." + item + "\\Expr0"] = "x" + std::to_string(i);
  }
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), kTypes + 1u);
  EXPECT_EQ(types[0].exprTexts, std::vector<std::string>{"x0"});
  EXPECT_TRUE(types[1].exprTexts.empty());  // the first type used up the expression reads
  ExpectSummary(types[kTypes], kTypes);
  EXPECT_LE(store.log.size(), static_cast<std::size_t>(kTypes * 8 + kMaxConfiguredExprs + 16));
}

TEST(LoadMsgTypes, ABadExpressionStaysInItsTypeAndNeverMatches) {
  MemorySettings store;
  store.values["MsgTypes\\Count"] = "1";
  store.values["MsgTypes\\Item0"] = "A";
  store.values["MsgTypes.A\\ExprCount"] = "2";
  store.values["MsgTypes.A\\Expr0"] = "a(b";
  store.values["MsgTypes.A\\Expr1"] = "ab";
  std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types[0].compiled.size(), 2u);
  EXPECT_EQ(types[0].compiled[0]->program(), nullptr);
  EXPECT_TRUE(types[0].MatchesLine("xaby"));
  EXPECT_FALSE(types[0].MatchesLine("a(b"));
}

// The real store on a real file: the key paths land in the sections the file uses.
TEST(LoadMsgTypes, ReadsTheSettingsFile) {
  const testing::ScratchFolder folder;
  SettingsFilePath() = folder.Write("brontel.ini",
                                    "[MsgTypes]\r\nCount=1\r\nItem0=Err\r\n"
                                    "[MsgTypes.Err]\r\nName=Oops\r\nForeColor=clRed\r\n"
                                    "ExprCount=1\r\nExpr0=^O .+\r\n");
  std::vector<MsgTypeMatcherInfo> types;
  LoadMsgTypes(GetExtMgr(), types);
  SettingsFilePath().clear();

  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].name, "Oops");
  EXPECT_EQ(types[0].color.ForeColor, ui::clRed);
  EXPECT_TRUE(types[0].MatchesLine("O text"));
  ExpectSummary(types[1], 1);
}

}  // namespace
}  // namespace brontel
