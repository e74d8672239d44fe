#include "viewer/CompleteLoad.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "classify/LineClassifier.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "ui/TRAHLEditor.h"

namespace brontel {
namespace {

using Lines = std::vector<std::string>;

class CompleteLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (ui::TRAHLEditor* view : {&view, &heldView}) {
      view->SetCellSize(ui::Size{7, 14});
      view->SetBounds(ui::Rect{0, 0, 700, 14 * 10});
    }
  }

  // The indexed load beside the load that holds the whole text, on the same file.
  void LoadBoth(const std::string& text) {
    state.path = heldState.path = folder.Write("app.log", text);
    separator = load.Load(state, types, view);
    heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView);
  }
  void Tick(int times) {
    for (int i = 0; i < times; ++i)
      load.Tick();
  }
  Lines View() const { return testing::ViewLines(view); }

  testing::ScratchFolder folder;
  testing::MemorySettings store;
  headless::HeadlessToolkit toolkit;
  LineClassifier types{store};
  LineClassifier heldTypes{store};
  ui::TRAHLEditor view{"_editor"};
  ui::TRAHLEditor heldView{"held"};
  TailViewerState state;
  TailViewerState heldState;
  CompleteLoad load{toolkit, store};
  std::optional<int> separator;
  std::optional<int> heldSeparator;
};

TEST_F(CompleteLoadTest, TheIndexedViewEqualsTheHeldOneLineForLine) {
  const std::string longLine = "W   " + std::string(300000, 'x') + "\tend";
  const std::vector<std::string> files = {
      "E   first\nplain\nW   second\nU   third\n",
      "E   crlf\r\nplain\r\n\r\nW   crlf two\r\n",
      "lone\rcarriage\r\rreturns\nE   mixed\r\n",
      "\ttabbed\tline\nE   \terror with a tab\n" + longLine + "\nafter\n",
      "no final line end\nE   last without end",
      "\xEF\xBB\xBF"
      "E   marked\nplain\n",
      "only plain\nlines\n",
      "",
  };
  for (const std::string& text : files) {
    LoadBoth(text);
    ASSERT_EQ(View(), testing::ViewLines(heldView)) << text.substr(0, 40);
    EXPECT_EQ(types.MsgTypeCountsText(), heldTypes.MsgTypeCountsText());
    EXPECT_EQ(separator, heldSeparator);
    EXPECT_EQ(state.history.Count(), heldState.history.Count());
    EXPECT_EQ(state.statusText, heldState.statusText);
    EXPECT_EQ(view.TextLength(), heldView.TextLength());
    EXPECT_EQ(view.Lines().MaxLineLength(), heldView.Lines().MaxLineLength());
    // Offsets map to the same lines and back, as selection and search use them.
    for (std::size_t i = 0; i < view.LineCount(); ++i) {
      ASSERT_EQ(view.Lines().LineStart(i), heldView.Lines().LineStart(i));
      ASSERT_EQ(view.Lines().LineOf(view.Lines().LineStart(i) + 1),
                heldView.Lines().LineOf(heldView.Lines().LineStart(i) + 1));
    }
    view.SelectAll();
    heldView.SelectAll();
    EXPECT_EQ(view.SelectedText(), heldView.SelectedText());
  }
}

TEST_F(CompleteLoadTest, ACarriageReturnLineFeedAcrossAScannedBlockEndsItsLineThere) {
  std::string text;
  for (std::size_t length = 60; length < 70; ++length)  // one of them has its CR at byte 63
    text += std::string(length, 'x') + "\r\n";
  LoadBoth(text + "E   last\r\n");
  EXPECT_EQ(View().back(), "E   last");
  EXPECT_EQ(View().size(), 13u);
}

TEST_F(CompleteLoadTest, ZeroBytesNeverHideTheLinesAfterThem) {
  LoadBoth(std::string("E   before\n\0\0\0E   after the run\nplain\n", 37));
  // The run belongs to the line after it, which then no longer begins as an error line.
  EXPECT_EQ(View(), (Lines{"E   before", "|   Error:1, HistoryCount:1", "E   before",
                           "???E   after the run", "plain"}));
}

TEST_F(CompleteLoadTest, TheHistoryKeepsToItsLimitWhileEveryLineIsCounted) {
  state.history.SetMaxLines(100);
  std::string text;
  for (int i = 0; i < 250; ++i)
    text += "E   failure " + std::to_string(i) + "\n";
  LoadBoth(text);
  EXPECT_EQ(state.history.Count(), 100u);
  EXPECT_EQ(state.history.Line(0), "E   failure 150");
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:250");
  EXPECT_EQ(view.LineCount(), 100u + 1 + 250);
}

TEST_F(CompleteLoadTest, AppendsExtendTheViewAndACutFileIsLoadedAfresh) {
  LoadBoth("E   one\nplain\nW   open");
  folder.Append(state.path, " line completed\nE   two\n");
  Tick(10);
  EXPECT_EQ(View(), (Lines{"E   one", "W   open", "W   open line completed", "E   two",
                           "|   Error:2, Warning:2, HistoryCount:4", "E   one", "plain",
                           "W   open line completed", "E   two"}));
  folder.Write("app.log", "U   shorter\n");
  Tick(10);
  EXPECT_EQ(View(), (Lines{"U   shorter", "|   Urgent:1, HistoryCount:1", "U   shorter"}));
  EXPECT_NE(state.statusText.find("loaded afresh"), std::string::npos) << state.statusText;
  // Lines the view no longer shows are never taken for current: another view stops the load.
  view.AssignLines(std::vector<std::string>{"other"});
  folder.Append(state.path, "E   unseen\n");
  Tick(10);
  EXPECT_EQ(View(), (Lines{"other"}));
}

}  // namespace
}  // namespace brontel
