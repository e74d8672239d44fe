#include "classify/LineClassifier.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/MemorySettings.h"
#include "ui/LineStore.h"

namespace brontel {
namespace {

using testing::MemorySettings;
using ui::FontStyle;

class BuiltinClassifier : public ::testing::Test {
 protected:
  MemorySettings store;
  LineClassifier classifier{store};

  // The line as the text view shows it.
  ui::TextAttr PaintedAttr(const std::string& fileLine) {
    ui::LineAttrs attrs;
    attrs.fill(ui::TextAttr{0x123456, 0x654321, FontStyle::StrikeOut});
    classifier.FillLineAttrs(ui::LineStore::ExpandTabs(fileLine), attrs);
    return attrs[1];
  }
};

TEST_F(BuiltinClassifier, LoadsTheTypesAtTheFirstClassificationOnly) {
  EXPECT_TRUE(classifier.Types().empty());
  EXPECT_EQ(classifier.MsgTypeCountsText(), "");
  classifier.FindMsgType("x");
  EXPECT_EQ(classifier.Types().size(), 4u);
  const std::size_t reads = store.log.size();
  classifier.FindMsgType("E   again");
  classifier.LoadMsgTypes();
  EXPECT_EQ(store.log.size(), reads);
}

TEST_F(BuiltinClassifier, FindsTheBuiltInTypesOnFileAndDisplayedLines) {
  EXPECT_EQ(classifier.FindMsgType("E   text"), 0);
  EXPECT_EQ(classifier.FindMsgType("E\ttext"), 0);
  EXPECT_EQ(classifier.FindMsgType("W\ttext"), 1);
  EXPECT_EQ(classifier.FindMsgType("W   text"), 1);
  EXPECT_EQ(classifier.FindMsgType("U\ttext"), 2);
  EXPECT_EQ(classifier.FindMsgType("step FAILED now"), 2);
  EXPECT_EQ(classifier.FindMsgType("|\tError:3, History:2"), 3);
  EXPECT_EQ(classifier.FindMsgType("|   Error:3, History:2"), 3);
}

TEST_F(BuiltinClassifier, LeavesOtherLinesUnclassified) {
  for (const char* line : {"", "E", "|", "E ", "E  x", "e   text", "2024-01-01 INFO", "FAILED",
                           "xFAILED", "E\t", " E   text"}) {
    EXPECT_EQ(classifier.FindMsgType(line), kUnclassified) << '"' << line << '"';
  }
}

TEST_F(BuiltinClassifier, TheFirstTypeInListOrderWins) {
  EXPECT_EQ(classifier.FindMsgType("E   job FAILED badly"), 0);
  EXPECT_TRUE(classifier.CountLine("E   job FAILED badly"));
  EXPECT_EQ(classifier.Types()[0].count, 1);
  EXPECT_EQ(classifier.Types()[2].count, 0);
}

TEST_F(BuiltinClassifier, CountsOnlyTheFirstThreePositions) {
  EXPECT_TRUE(classifier.CountLine("E\tone"));
  EXPECT_TRUE(classifier.CountLine("E\ttwo"));
  EXPECT_TRUE(classifier.CountLine("E\tthree"));
  EXPECT_TRUE(classifier.CountLine("x FAILED y"));
  EXPECT_FALSE(classifier.CountLine("|\theader"));
  EXPECT_FALSE(classifier.CountLine("plain"));
  EXPECT_FALSE(classifier.CountLine("E"));
  EXPECT_EQ(classifier.Types()[3].count, 0);
  EXPECT_EQ(classifier.MsgTypeCountsText(), "Error:3, Urgent:1");
  EXPECT_TRUE(classifier.CountLine("W\twarned"));
  EXPECT_EQ(classifier.MsgTypeCountsText(), "Error:3, Warning:1, Urgent:1");
}

TEST_F(BuiltinClassifier, ResetClearsEveryCount) {
  classifier.CountLine("E\tone");
  classifier.CountLine("W\tone");
  classifier.ResetMsgTypeCounts();
  for (const MsgTypeMatcherInfo& type : classifier.Types())
    EXPECT_EQ(type.count, 0);
  EXPECT_EQ(classifier.MsgTypeCountsText(), "");
  classifier.CountLine("U\tone");
  EXPECT_EQ(classifier.MsgTypeCountsText(), "Urgent:1");
}

TEST_F(BuiltinClassifier, PaintsEachTypeInItsColours) {
  EXPECT_EQ(PaintedAttr("E   text"), (ui::TextAttr{ui::clWhite, ui::clRed, FontStyle::Bold}));
  EXPECT_EQ(PaintedAttr("W\ttext"), (ui::TextAttr{ui::clBlack, ui::clYellow, FontStyle::Bold}));
  EXPECT_EQ(PaintedAttr("ran FAILED here"),
            (ui::TextAttr{ui::clRed, ui::clBlack, FontStyle::Bold | FontStyle::Italic}));
  EXPECT_EQ(PaintedAttr("|\theader"),
            (ui::TextAttr{ui::clWhite, ui::clGray, FontStyle::Bold | FontStyle::Italic}));
}

TEST_F(BuiltinClassifier, PaintsUnclassifiedAndOneCharacterLinesInWindowColours) {
  const ui::TextAttr window{ui::clWindowText, ui::clWindow, FontStyle::None};
  EXPECT_EQ(PaintedAttr("E"), window);
  EXPECT_EQ(PaintedAttr("plain text"), window);
  EXPECT_EQ(PaintedAttr(""), window);
}

TEST_F(BuiltinClassifier, FillsPositionsOneTo1024AndLeavesEntryZero) {
  const std::string line = "E   " + std::string(1996, 'x');
  ui::LineAttrs attrs;
  const ui::TextAttr before{0x123456, 0x654321, FontStyle::StrikeOut};
  attrs.fill(before);
  classifier.FillLineAttrs(line, attrs);
  EXPECT_EQ(attrs[0], before);
  const ui::TextAttr error{ui::clWhite, ui::clRed, FontStyle::Bold};
  for (std::size_t i = 1; i < attrs.size(); ++i)
    ASSERT_EQ(attrs[i], error) << i;
  EXPECT_EQ(attrs.size(), 1025u);
}

TEST_F(BuiltinClassifier, TheViewsCallbackColoursItsLines) {
  ui::TRAHLEditor editor("_editor");
  editor.OnGetLineAttr = [this](ui::TRAHLEditor& sender, std::string_view line, std::size_t index,
                                ui::LineAttrs& attrs) {
    classifier._editorGetLineAttr(sender, line, index, attrs);
  };
  ui::LineAttrs attrs;
  editor.OnGetLineAttr(editor, "W   careful", 0, attrs);
  EXPECT_EQ(attrs[5], (ui::TextAttr{ui::clBlack, ui::clYellow, FontStyle::Bold}));
}

TEST_F(BuiltinClassifier, ReusesItsLineBufferAcrossLinesOfEveryLength) {
  // Long and short lines in turn: each answer must see only its own line.
  const std::string longError = "E   " + std::string(5000, 'a');
  EXPECT_EQ(classifier.FindMsgType(longError), 0);
  EXPECT_EQ(classifier.FindMsgType("xx FAILED"), kUnclassified);
  EXPECT_EQ(classifier.FindMsgType("x FAILED x"), 2);
  EXPECT_EQ(classifier.FindMsgType(std::string_view(longError).substr(0, 4)), kUnclassified);
}

class ConfiguredClassifier : public ::testing::Test {
 protected:
  void AddType(int item, const std::string& name, const std::string& expr) {
    const std::string section = "MsgTypes." + name + "\\";
    store.values["MsgTypes\\Item" + std::to_string(item)] = name;
    store.values[section + "Name"] = name;
    store.values[section + "ExprCount"] = "1";
    store.values[section + "Expr0"] = expr;
  }

  MemorySettings store;
  LineClassifier classifier{store};
};

TEST_F(ConfiguredClassifier, ReturnsPositionsNotTypeNumbers) {
  store.values["MsgTypes\\Count"] = "3";
  AddType(1, "Alpha", "^A .+");
  AddType(2, "Beta", "^B .+");
  EXPECT_EQ(classifier.FindMsgType("A one"), 0);
  EXPECT_EQ(classifier.FindMsgType("B one"), 1);
  EXPECT_EQ(classifier.FindMsgType("|\tsummary"), 2);
  EXPECT_EQ(classifier.Types()[2].typeNo, 3);
  // The closing Summary type sits at a counted position here.
  EXPECT_TRUE(classifier.CountLine("|\tsummary"));
  EXPECT_EQ(classifier.Types()[2].count, 1);
  EXPECT_EQ(classifier.MsgTypeCountsText(), "");
}

TEST_F(ConfiguredClassifier, ATypeNamedSummaryIsCountedButNeverShown) {
  store.values["MsgTypes\\Count"] = "2";
  AddType(0, "Summary", "^S .+");
  AddType(1, "Other", "^O .+");
  EXPECT_TRUE(classifier.CountLine("S line"));
  EXPECT_TRUE(classifier.CountLine("O line"));
  EXPECT_EQ(classifier.Types()[0].count, 1);
  EXPECT_EQ(classifier.MsgTypeCountsText(), "Other:1");
}

TEST_F(ConfiguredClassifier, ThePositionAfterTheFirstThreeIsNotCounted) {
  store.values["MsgTypes\\Count"] = "4";
  AddType(0, "T0", "^0 .+");
  AddType(1, "T1", "^1 .+");
  AddType(2, "T2", "^2 .+");
  AddType(3, "T3", "^3 .+");
  EXPECT_TRUE(classifier.CountLine("2 x"));
  EXPECT_FALSE(classifier.CountLine("3 x"));
  EXPECT_EQ(classifier.FindMsgType("3 x"), 3);
  EXPECT_EQ(classifier.MsgTypeCountsText(), "T2:1");
}

TEST_F(ConfiguredClassifier, ACountStopsAtItsLargestValue) {
  store.values["MsgTypes\\Count"] = "1";
  AddType(0, "Big", "^B .+");
  classifier.LoadMsgTypes();
  const_cast<MsgTypeMatcherInfo&>(classifier.Types()[0]).count = 2147483646;
  EXPECT_TRUE(classifier.CountLine("B x"));
  EXPECT_TRUE(classifier.CountLine("B x"));
  EXPECT_EQ(classifier.Types()[0].count, 2147483647);
}

}  // namespace
}  // namespace brontel
