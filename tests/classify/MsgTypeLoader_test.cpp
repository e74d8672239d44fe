#include "classify/MsgTypeLoader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/ExtMgr.h"
#include "settings/SettingsFile.h"
#include "tests/classify/MemoryStore.h"

namespace brontel {
namespace {

using testing::MemoryStore;
using ui::FontStyle;

std::vector<MsgTypeMatcherInfo> Load(MemoryStore& store) {
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
  MemoryStore store;
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
  EXPECT_EQ(store.writes, 0);
}

TEST(LoadMsgTypes, ACountBelowOneOrUnreadableSelectsTheBuiltInTypes) {
  for (const char* count : {"0", "-3", "many"}) {
    MemoryStore store;
    store.Set("MsgTypes\\Count", count);
    store.Set("MsgTypes\\Item0", "A");
    store.Set("MsgTypes.A\\Name", "A");
    const std::vector<MsgTypeMatcherInfo> types = Load(store);
    ASSERT_EQ(types.size(), 4u) << count;
    EXPECT_EQ(types[0].name, "Error") << count;
  }
}

TEST(LoadMsgTypes, EmptyItemsTakeNoPositionButKeepTheirNumber) {
  MemoryStore store;
  store.Set("MsgTypes\\Count", "2");
  store.Set("MsgTypes\\Item1", "A");
  store.Set("MsgTypes.A\\Name", "Alpha");
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].name, "Alpha");
  EXPECT_EQ(types[0].typeNo, 1);
  ExpectSummary(types[1], 2);
}

TEST(LoadMsgTypes, ReadsAnItemsKeysFromItsOwnSectionInTableOrder) {
  MemoryStore store;
  store.Set("MsgTypes\\Count", "1");
  store.Set("MsgTypes\\Item0", "Err");
  store.Set("MsgTypes.Err\\Name", "Failure");
  store.Set("MsgTypes.Err\\ShortName", "F");
  store.Set("MsgTypes.Err\\ForeColor", "clred");
  store.Set("MsgTypes.Err\\BackColor", "$00FF00");
  store.Set("MsgTypes.Err\\Style", "6");
  store.Set("MsgTypes.Err\\ExprCount", "3");
  store.Set("MsgTypes.Err\\Expr0", "^F .+");
  store.Set("MsgTypes.Err\\Expr2", "fatal");
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  const MsgTypeMatcherInfo& type = types[0];
  EXPECT_EQ(type.name, "Failure");
  EXPECT_EQ(type.shortName, "F");
  EXPECT_EQ(type.color,
            (TSymbolColor{ui::clRed, ui::clLime, FontStyle::Italic | FontStyle::Underline}));
  EXPECT_EQ(type.exprTexts, (std::vector<std::string>{"^F .+", "fatal"}));
  EXPECT_EQ(type.compiled.size(), 2u);
  EXPECT_EQ(store.reads,
            (std::vector<std::string>{"MsgTypes\\Count", "MsgTypes\\Item0", "MsgTypes.Err\\Name",
                                      "MsgTypes.Err\\ShortName", "MsgTypes.Err\\ForeColor",
                                      "MsgTypes.Err\\BackColor", "MsgTypes.Err\\Style",
                                      "MsgTypes.Err\\ExprCount", "MsgTypes.Err\\Expr0",
                                      "MsgTypes.Err\\Expr1", "MsgTypes.Err\\Expr2"}));
}

TEST(LoadMsgTypes, AnItemWithoutColourKeysIsBoldWindowTextOnWindowAndNeverMatches) {
  MemoryStore store;
  store.Set("MsgTypes\\Count", "1");
  store.Set("MsgTypes\\Item0", "Plain");
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
    MemoryStore store;
    store.Set("MsgTypes\\Count", "1");
    store.Set("MsgTypes\\Item0", "S");
    store.Set("MsgTypes.S\\Style", text);
    EXPECT_EQ(Load(store)[0].color.Style, style) << text;
  }
}

TEST(LoadMsgTypes, AColourTypoGivesTheDefaultColourAndLoadingGoesOn) {
  MemoryStore store;
  store.Set("MsgTypes\\Count", "2");
  store.Set("MsgTypes\\Item0", "A");
  store.Set("MsgTypes.A\\ForeColor", "clRedd");
  store.Set("MsgTypes.A\\BackColor", "blue");
  store.Set("MsgTypes.A\\Style", "0");
  store.Set("MsgTypes\\Item1", "B");
  store.Set("MsgTypes.B\\Name", "Bravo");
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[0].color, (TSymbolColor{ui::clWindowText, ui::clWindow, FontStyle::None}));
  EXPECT_EQ(types[1].name, "Bravo");
  ExpectSummary(types[2], 2);
}

TEST(LoadMsgTypes, ExprCountZeroOrNegativeReadsNoExpressions) {
  for (const char* exprCount : {"0", "-2"}) {
    MemoryStore store;
    store.Set("MsgTypes\\Count", "1");
    store.Set("MsgTypes\\Item0", "A");
    store.Set("MsgTypes.A\\ExprCount", exprCount);
    store.Set("MsgTypes.A\\Expr0", "x");
    const std::vector<MsgTypeMatcherInfo> types = Load(store);
    EXPECT_TRUE(types[0].exprTexts.empty()) << exprCount;
    EXPECT_TRUE(types[0].compiled.empty()) << exprCount;
  }
}

TEST(LoadMsgTypes, AbsurdCountsAreCutShortButTheSummaryKeepsTheConfiguredNumber) {
  MemoryStore store;
  store.Set("MsgTypes\\Count", "2147483647");
  store.Set("MsgTypes\\Item0", "A");
  store.Set("MsgTypes.A\\ExprCount", "2147483647");
  store.Set("MsgTypes.A\\Expr0", "x");
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].exprTexts, std::vector<std::string>{"x"});
  ExpectSummary(types[1], 2147483647);
  EXPECT_LE(store.reads.size(),
            static_cast<std::size_t>(kMaxConfiguredMsgTypes + kMaxExprsPerMsgType + 16));
}

TEST(LoadMsgTypes, ManyTypesWithAbsurdExprCountsShareOneBoundOfExpressionReads) {
  MemoryStore store;
  constexpr int kTypes = 64;
  store.Set("MsgTypes\\Count", std::to_string(kTypes));
  for (int i = 0; i < kTypes; ++i) {
    const std::string item = "T" + std::to_string(i);
    store.Set("MsgTypes\\Item" + std::to_string(i), item);
    store.Set("MsgTypes." + item + "\\ExprCount", "2147483647");
    store.Set("MsgTypes." + item + "\\Expr0", "x" + std::to_string(i));
  }
  const std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types.size(), kTypes + 1u);
  EXPECT_EQ(types[0].exprTexts, std::vector<std::string>{"x0"});
  EXPECT_TRUE(types[1].exprTexts.empty());  // the first type used up the expression reads
  ExpectSummary(types[kTypes], kTypes);
  EXPECT_LE(store.reads.size(), static_cast<std::size_t>(kTypes * 8 + kMaxConfiguredExprs + 16));
}

TEST(LoadMsgTypes, ABadExpressionStaysInItsTypeAndNeverMatches) {
  MemoryStore store;
  store.Set("MsgTypes\\Count", "1");
  store.Set("MsgTypes\\Item0", "A");
  store.Set("MsgTypes.A\\ExprCount", "2");
  store.Set("MsgTypes.A\\Expr0", "a(b");
  store.Set("MsgTypes.A\\Expr1", "ab");
  std::vector<MsgTypeMatcherInfo> types = Load(store);
  ASSERT_EQ(types[0].compiled.size(), 2u);
  EXPECT_EQ(types[0].compiled[0]->program(), nullptr);
  EXPECT_TRUE(types[0].MatchesLine("xaby"));
  EXPECT_FALSE(types[0].MatchesLine("a(b"));
}

// The real store on a real file: the key paths land in the sections the file uses.
TEST(LoadMsgTypes, ReadsTheSettingsFile) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("brontel_classify_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "brontel.ini").string();
  std::ofstream(path, std::ios::binary) << "[MsgTypes]\r\nCount=1\r\nItem0=Err\r\n"
                                        << "[MsgTypes.Err]\r\nName=Oops\r\nForeColor=clRed\r\n"
                                        << "ExprCount=1\r\nExpr0=^O .+\r\n";
  SettingsFilePath() = path;
  std::vector<MsgTypeMatcherInfo> types;
  LoadMsgTypes(GetExtMgr(), types);
  SettingsFilePath().clear();
  std::filesystem::remove_all(dir);

  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[0].name, "Oops");
  EXPECT_EQ(types[0].color.ForeColor, ui::clRed);
  EXPECT_TRUE(types[0].MatchesLine("O text"));
  ExpectSummary(types[1], 1);
}

}  // namespace
}  // namespace brontel
