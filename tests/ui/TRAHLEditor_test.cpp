#include "ui/TRAHLEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shells/headless/MemoryClipboard.h"
#include "tests/ui/EditorFixture.h"
#include "ui/PopupMenu.h"

namespace brontel::ui {
namespace {

using testing::NumberedLines;
using testing::SetGeometry;

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGeometry(editor, 20, 10);
    editor.SetClipboard(&clipboard);
  }
  void Load(const std::vector<std::string>& lines) { editor.AssignLines(lines); }

  TRAHLEditor editor{"_editor"};
  headless::MemoryClipboard clipboard;
};

// --- offsets ------------------------------------------------------------------------------

TEST_F(EditorTest, TextOffsetsCountTwoCharactersPerLineEnd) {
  Load({"ab", "c"});
  EXPECT_EQ(editor.TextLength(), 7u);
  editor.SetSelStart(4);
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretCol(), 0);
  EXPECT_EQ(editor.CaretOffset(), 4u);
  editor.SetSelStart(1);
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.CaretCol(), 1);
  // An offset inside a line end stands at the end of that line.
  editor.SetSelStart(3);
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.CaretCol(), 2);
  // Past the text: the end of the last line.
  editor.SetSelStart(99);
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretOffset(), 5u);
}

TEST_F(EditorTest, RowCountIsTheLineCountButAtLeastOne) {
  EXPECT_EQ(editor.RowCount(), 1);
  EXPECT_EQ(editor.CaretOffset(), 0u);
  Load({"a", "b", "c"});
  EXPECT_EQ(editor.RowCount(), 3);
  editor.Clear();
  EXPECT_EQ(editor.RowCount(), 1);
}

TEST_F(EditorTest, TabsAreShownAsThreeBlanks) {
  Load({"E\tmessage"});
  EXPECT_EQ(editor.Line(0), "E   message");
  EXPECT_EQ(editor.Text(), "E   message\r\n");
}

// --- caret limits and minimal scrolling ------------------------------------------------------

TEST_F(EditorTest, CaretGoesToAnyColumnOfALongLineAndTo1024PastAShortOne) {
  Load({std::string(2000, 'x'), "short"});
  editor.MoveCaret(7, 5000);
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretCol(), 1024);
  EXPECT_EQ(editor.CaretOffset(), 2002u + 5u);  // the offset stops at the line's end
  editor.MoveCaret(-3, -1);
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.CaretCol(), 0);
  editor.MoveCaret(0, 1500);
  EXPECT_EQ(editor.CaretCol(), 1500);
  EXPECT_EQ(editor.CaretOffset(), 1500u);
  EXPECT_EQ(editor.LeftCol(), 1500 - 20 + 1);  // scrolled to show it
  editor.KeyDown(vk::End, ShiftState::None);
  EXPECT_EQ(editor.CaretCol(), 2000);
  editor.ScrollTo(9000, 0);
  EXPECT_EQ(editor.LeftCol(), 2000);  // the longest line bounds the scrolling
  Load({"short"});
  EXPECT_EQ(editor.CaretCol(), 1024);
  EXPECT_EQ(editor.LeftCol(), 1024);
}

TEST_F(EditorTest, ASelectionBeyondColumn1024CoversExactlyItsCharacters) {
  Load({std::string(1500, 'x') + "abc" + std::string(500, 'y'), "abc"});
  editor.SetSelStart(1500);
  EXPECT_EQ(editor.CaretCol(), 1500);
  editor.SetSelLength(3);
  EXPECT_EQ(editor.CaretCol(), 1503);
  EXPECT_EQ(editor.SelStart(), 1500u);
  EXPECT_EQ(editor.SelectedText(), "abc");
  editor.SetSelLength(-3);
  EXPECT_EQ(editor.CaretCol(), 1500);
  EXPECT_EQ(editor.SelectedText(), "abc");
}

TEST_F(EditorTest, MovingTheCaretScrollsAsLittleAsNeeded) {
  std::vector<std::string> lines = NumberedLines(100);
  lines[3] = std::string(100, 'w');
  Load(lines);
  editor.MoveCaret(50, 0);
  EXPECT_EQ(editor.TopRow(), 41);  // line 50 becomes the last visible row
  editor.MoveCaret(45, 0);
  EXPECT_EQ(editor.TopRow(), 41);  // already visible: no scroll
  editor.MoveCaret(20, 0);
  EXPECT_EQ(editor.TopRow(), 20);  // above the view: becomes the top row
  editor.MoveCaret(3, 30);
  EXPECT_EQ(editor.TopRow(), 3);
  EXPECT_EQ(editor.LeftCol(), 11);  // column 30 becomes the last visible column
  editor.MoveCaret(3, 5);
  EXPECT_EQ(editor.LeftCol(), 5);
}

TEST_F(EditorTest, ScrollingTakesNegativeValuesAsZero) {
  Load(NumberedLines(30));
  editor.ScrollTo(4, 12);
  EXPECT_EQ(editor.LeftCol(), 4);
  EXPECT_EQ(editor.TopRow(), 12);
  editor.ScrollTo(-5, -1);
  EXPECT_EQ(editor.LeftCol(), 0);
  EXPECT_EQ(editor.TopRow(), 0);
  editor.ScrollTo(0, 500);
  EXPECT_EQ(editor.TopRow(), 29);
  EXPECT_EQ(editor.VisibleRows(), 10);
  EXPECT_EQ(editor.VisibleCols(), 20);
}

// The caret's line comes into view centred, half the visible rows rounded half to even.
TEST_F(EditorTest, BringingAScrolledAwayCaretLineBackRoundsHalfToEven) {
  Load(NumberedLines(300));
  const std::size_t line100 = editor.Lines().LineStart(100);
  const std::vector<std::pair<int, int>> rowsAndTop = {{41, 80}, {43, 78}, {40, 80}, {1, 100}};
  for (const auto& [rows, expectedTop] : rowsAndTop) {
    SetGeometry(editor, 20, rows);
    editor.MoveCaret(100, 0);
    editor.ScrollTo(0, 250);  // away from the caret, which stays put
    editor.SetSelStart(line100);
    EXPECT_EQ(editor.TopRow(), expectedTop) << rows << " visible rows";
  }
  SetGeometry(editor, 20, 41);
  editor.MoveCaret(5, 0);
  editor.ScrollTo(0, 200);
  editor.BringCaretLineIntoView();
  EXPECT_EQ(editor.TopRow(), 0);  // never above the first line
}

TEST_F(EditorTest, SetSelStartOnANewLineScrollsMinimallyNotCentred) {
  Load(NumberedLines(300));
  editor.SetSelStart(editor.Lines().LineStart(100));
  EXPECT_EQ(editor.TopRow(), 91);
  editor.BringCaretLineIntoView();  // visible already: nothing changes
  EXPECT_EQ(editor.TopRow(), 91);
}

TEST_F(EditorTest, SetCaretRowKeepsTheColumn) {
  Load({"abcdef", "ab", "abcdefgh"});
  editor.MoveCaret(0, 4);
  editor.SetCaretRow(2);
  EXPECT_EQ(editor.CaretCol(), 4);
  editor.SetCaretRow(1);
  EXPECT_EQ(editor.CaretCol(), 4);       // beyond the short line's end
  EXPECT_EQ(editor.CaretOffset(), 10u);  // but the offset stays at its end
}

TEST_F(EditorTest, ReplacingTheLinesKeepsTheCaretInsideAndDropsTheSelection) {
  Load(NumberedLines(50));
  editor.MoveCaret(40, 3);
  editor.SetSelLength(5);
  Load({"one", "two"});
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.SelLength(), 0u);
  EXPECT_LE(editor.TopRow(), 1);
  editor.Clear();
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.TopRow(), 0);
  EXPECT_EQ(editor.SelStart(), 0u);
}

TEST_F(EditorTest, ThePlaceSurvivesReplacingTheLinesLimitedToTheNewOnes) {
  std::vector<std::string> lines = NumberedLines(60);
  lines[30] = std::string(50, 'w');
  Load(lines);
  editor.MoveCaret(30, 40);
  editor.SetSelLength(-6);
  editor.ScrollTo(7, 25);
  const TRAHLEditor::ViewPlace place = editor.Place();
  lines.push_back("grown");
  Load(lines);
  EXPECT_EQ(editor.SelLength(), 0u);  // a plain replacement drops it
  editor.SetPlace(place);
  EXPECT_EQ(editor.TopRow(), 25);
  EXPECT_EQ(editor.LeftCol(), 7);
  EXPECT_EQ(editor.CaretRow(), 30);
  EXPECT_EQ(editor.CaretCol(), 34);
  EXPECT_EQ(editor.SelectedText(), "wwwwww");
  // Fewer lines: every part limited to them, the selection's anchor on the last line's end.
  Load({"one", "two"});
  editor.SetPlace(place);
  EXPECT_EQ(editor.TopRow(), 1);
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretCol(), 34);
  EXPECT_EQ(editor.SelLength(), 0u);
  EXPECT_EQ(editor.LeftCol(), 7);
  // A selection up to the end of the text still reaches the end of the longer text.
  editor.SelectAll();
  const TRAHLEditor::ViewPlace all = editor.Place();
  Load({"one", "two", "three"});
  editor.SetPlace(all);
  EXPECT_EQ(editor.SelectedText(), editor.Text());
}

// --- selection and copy ----------------------------------------------------------------------

TEST_F(EditorTest, SelectionByOffsetAndCopyKeepsTheSelection) {
  Load({"hello", "world"});
  editor.SetSelStart(1);
  editor.SetSelLength(6);
  EXPECT_EQ(editor.SelStart(), 1u);
  EXPECT_EQ(editor.SelLength(), 6u);
  EXPECT_EQ(editor.SelectedText(), "ello\r\n");
  EXPECT_EQ(editor.CaretOffset(), 7u);  // the caret moved to the selection's end
  EXPECT_EQ(editor.CaretRow(), 1);
  editor.CopyToClipboard();
  EXPECT_EQ(clipboard.Text(), "ello\r\n");
  EXPECT_EQ(editor.SelLength(), 6u);

  editor.SetSelLength(-3);  // backwards from the caret
  EXPECT_EQ(editor.SelStart(), 4u);
  EXPECT_EQ(editor.SelectedText(), "o\r\n");
  EXPECT_EQ(editor.CaretOffset(), 4u);
}

TEST_F(EditorTest, CopyWithoutSelectionLeavesTheClipboardAlone) {
  Load({"hello"});
  clipboard.SetText("before");
  editor.SetSelStart(2);
  editor.CopyToClipboard();
  EXPECT_EQ(clipboard.Text(), "before");
  EXPECT_EQ(clipboard.Writes(), 1);
}

TEST_F(EditorTest, SelectAllCoversTheWholeTextWithItsLastLineEnd) {
  Load({"ab", "c"});
  editor.SelectAll();
  EXPECT_EQ(editor.SelStart(), 0u);
  EXPECT_EQ(editor.SelLength(), 7u);
  editor.CopyToClipboard();
  EXPECT_EQ(clipboard.Text(), "ab\r\nc\r\n");
  // The same through offsets, as the viewer's select-all does it.
  editor.SetSelStart(0);
  editor.SetSelLength(static_cast<std::int64_t>(editor.TextLength()));
  EXPECT_EQ(editor.SelLength(), 7u);
  editor.SetSelLength(1000);         // longer than the text: up to its end
  EXPECT_EQ(editor.SelStart(), 5u);  // from the caret, which stood at the end of the last line
  EXPECT_EQ(editor.SelLength(), 2u);
}

// --- keys -------------------------------------------------------------------------------------

TEST_F(EditorTest, ArrowKeysMoveAndWrapAtLineEnds) {
  Load({"abc", "de", "fghij"});
  editor.KeyDown(vk::Right, ShiftState::None);
  editor.KeyDown(vk::Right, ShiftState::None);
  editor.KeyDown(vk::Right, ShiftState::None);
  EXPECT_EQ(editor.CaretCol(), 3);
  editor.KeyDown(vk::Right, ShiftState::None);  // past the end: start of the next line
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretCol(), 0);
  editor.KeyDown(vk::Left, ShiftState::None);  // back to the end of the previous one
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.CaretCol(), 3);
  editor.KeyDown(vk::Down, ShiftState::None);
  editor.KeyDown(vk::Down, ShiftState::None);
  editor.KeyDown(vk::Down, ShiftState::None);
  EXPECT_EQ(editor.CaretRow(), 2);
  editor.KeyDown(vk::Home, ShiftState::None);
  EXPECT_EQ(editor.CaretCol(), 0);
  editor.KeyDown(vk::End, ShiftState::None);
  EXPECT_EQ(editor.CaretCol(), 5);
  editor.KeyDown(vk::Home, ShiftState::Ctrl);
  EXPECT_EQ(editor.CaretOffset(), 0u);
  editor.KeyDown(vk::End, ShiftState::Ctrl);
  EXPECT_EQ(editor.CaretRow(), 2);
  EXPECT_EQ(editor.CaretCol(), 5);
  editor.KeyDown(vk::Up, ShiftState::None);
  editor.KeyDown(vk::Up, ShiftState::None);
  editor.KeyDown(vk::Up, ShiftState::None);
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.CaretCol(), 5);  // the column stays while moving over lines
}

TEST_F(EditorTest, PageKeysMoveByTheVisibleRows) {
  Load(NumberedLines(35));
  editor.KeyDown(vk::Next, ShiftState::None);
  EXPECT_EQ(editor.CaretRow(), 10);
  EXPECT_EQ(editor.TopRow(), 10);
  editor.KeyDown(vk::Next, ShiftState::None);
  editor.KeyDown(vk::Next, ShiftState::None);
  EXPECT_EQ(editor.CaretRow(), 30);
  EXPECT_EQ(editor.TopRow(), 25);  // the last page ends with the last line
  editor.KeyDown(vk::Next, ShiftState::None);
  EXPECT_EQ(editor.CaretRow(), 34);
  editor.KeyDown(vk::Prior, ShiftState::None);
  EXPECT_EQ(editor.CaretRow(), 24);
  EXPECT_EQ(editor.TopRow(), 15);
}

TEST_F(EditorTest, ShiftWithAMovementKeyExtendsTheSelection) {
  Load({"abc", "de", "fghij"});
  editor.MoveCaret(0, 1);
  editor.KeyDown(vk::Down, ShiftState::Shift);
  EXPECT_EQ(editor.SelStart(), 1u);
  EXPECT_EQ(editor.SelectedText(), "bc\r\nd");
  editor.KeyDown(vk::End, ShiftState::Shift);
  EXPECT_EQ(editor.SelectedText(), "bc\r\nde");
  editor.KeyDown(vk::Home, ShiftState::Shift | ShiftState::Ctrl);
  EXPECT_EQ(editor.SelectedText(), "a");  // the anchor stays; the selection flips over it
  editor.KeyDown(vk::End, ShiftState::Shift | ShiftState::Ctrl);
  EXPECT_EQ(editor.SelectedText(), "bc\r\nde\r\nfghij");
  editor.KeyDown(vk::Left, ShiftState::None);  // a plain move drops the selection
  EXPECT_EQ(editor.SelLength(), 0u);
}

TEST_F(EditorTest, KeyDownHandlerSeesEveryKeyAndCanConsumeIt) {
  Load({"abc", "def"});
  std::vector<std::pair<KeyCode, ShiftState>> seen;
  editor.OnKeyDown = [&](TRAHLEditor& sender, KeyCode& key, ShiftState shift) {
    EXPECT_EQ(&sender, &editor);
    seen.emplace_back(key, shift);
    if (key == vk::Down)
      key = 0;
  };
  EXPECT_TRUE(editor.KeyDown(vk::Down, ShiftState::None));
  EXPECT_EQ(editor.CaretRow(), 0);  // consumed: the view did not move
  editor.KeyDown(vk::Right, ShiftState::Shift);
  EXPECT_EQ(editor.CaretCol(), 1);
  EXPECT_FALSE(editor.KeyDown(vk::F3, ShiftState::None));  // not one of the view's keys
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1].first, vk::Right);
  EXPECT_EQ(seen[1].second, ShiftState::Shift);
}

TEST_F(EditorTest, CtrlCCopiesAndCtrlASelectsAll) {
  Load({"abc", "def"});
  editor.KeyDown('A', ShiftState::Ctrl);
  EXPECT_EQ(editor.SelLength(), 10u);
  editor.KeyDown('C', ShiftState::Ctrl);
  EXPECT_EQ(clipboard.Text(), "abc\r\ndef\r\n");
  editor.KeyDown('C', ShiftState::None);  // a plain letter does nothing in a read-only view
  EXPECT_EQ(editor.SelLength(), 10u);
  EXPECT_EQ(editor.Text(), "abc\r\ndef\r\n");
}

TEST_F(EditorTest, CtrlLeftAndRightJumpByWordsAcrossLines) {
  Load({"ERROR disk_full", "at 10:42"});
  editor.KeyDown(vk::Right, ShiftState::Ctrl);
  EXPECT_EQ(editor.CaretCol(), 6);  // start of disk_full
  editor.KeyDown(vk::Right, ShiftState::Ctrl);
  EXPECT_EQ(editor.CaretRow(), 1);  // over the line end to "at"
  EXPECT_EQ(editor.CaretCol(), 0);
  editor.KeyDown(vk::Right, ShiftState::Ctrl | ShiftState::Shift);
  EXPECT_EQ(editor.SelectedText(), "at ");
  editor.KeyDown(vk::Left, ShiftState::Ctrl);
  editor.KeyDown(vk::Left, ShiftState::Ctrl);
  EXPECT_EQ(editor.CaretRow(), 0);
  EXPECT_EQ(editor.CaretCol(), 6);
  editor.KeyDown(vk::Left, ShiftState::Ctrl);
  editor.KeyDown(vk::Left, ShiftState::Ctrl);  // already at the start of the text
  EXPECT_EQ(editor.CaretOffset(), 0u);
}

TEST_F(EditorTest, CtrlUpAndDownScrollWithoutMovingTheCaret) {
  Load(NumberedLines(30));
  editor.KeyDown(vk::Down, ShiftState::Ctrl);
  editor.KeyDown(vk::Down, ShiftState::Ctrl);
  EXPECT_EQ(editor.TopRow(), 2);
  EXPECT_EQ(editor.CaretRow(), 0);
  editor.KeyDown(vk::Up, ShiftState::Ctrl);
  EXPECT_EQ(editor.TopRow(), 1);
}

// --- mouse ------------------------------------------------------------------------------------

TEST_F(EditorTest, ClickDragAndShiftClickSelect) {
  Load({"abcdef", "ghijkl", "mnopqr"});
  // Column 2 of row 1: x = gutter 14 + 2 cells of 7, y inside the second row.
  editor.MouseDown(MouseButton::Left, ShiftState::Left, Point{14 + 14, 14 + 3});
  EXPECT_EQ(editor.CaretRow(), 1);
  EXPECT_EQ(editor.CaretCol(), 2);
  EXPECT_TRUE(editor.Focused());
  editor.MouseMove(ShiftState::Left, Point{14 + 35, 28 + 3});
  editor.MouseUp(MouseButton::Left, ShiftState::None, Point{14 + 35, 28 + 3});
  EXPECT_EQ(editor.SelectedText(), "ijkl\r\nmnopq");
  EXPECT_EQ(clipboard.SelectionText(), "ijkl\r\nmnopq");  // offered as the primary selection
  EXPECT_EQ(clipboard.Writes(), 0);                       // the clipboard waits for a copy
  editor.MouseMove(ShiftState::None, Point{14, 0});       // no button held: no drag
  EXPECT_EQ(editor.SelectedText(), "ijkl\r\nmnopq");
  editor.MouseDown(MouseButton::Left, ShiftState::Left, Point{14, 3});
  editor.MouseUp(MouseButton::Left, ShiftState::None, Point{14, 3});
  editor.MouseDown(MouseButton::Left, ShiftState::Left | ShiftState::Shift, Point{14 + 21, 3});
  EXPECT_EQ(editor.SelectedText(), "abc");
}

TEST_F(EditorTest, DoubleClickSelectsTheWordUnderThePointer) {
  Load({"ERROR disk_full at 10:42"});
  editor.DoubleClick(Point{14 + 7 * 8, 5});  // inside "disk_full"
  EXPECT_EQ(editor.SelectedText(), "disk_full");
  EXPECT_EQ(clipboard.SelectionText(), "disk_full");
  editor.DoubleClick(Point{14 + 7 * 5 + 1, 5});  // on the blank after ERROR: nothing selected
  EXPECT_EQ(editor.SelLength(), 0u);
  EXPECT_EQ(clipboard.SelectionText(), "disk_full");  // an empty selection offers nothing
}

TEST_F(EditorTest, RightClickPopsUpTheMenu) {
  int popups = 0;
  PopupMenu menu("PopupMenu1");
  menu.AddObserver([&](Component&, Change change) { popups += change == Change::Popup; });
  editor.SetPopupMenu(&menu);
  editor.MouseDown(MouseButton::Right, ShiftState::Right, Point{40, 50});
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu.PopupPoint(), (Point{40, 50}));
  editor.SetPopupMenu(nullptr);
}

TEST_F(EditorTest, WheelScrollsThreeRowsPerNotchAndStopsAtTheEnd) {
  Load(NumberedLines(20));
  editor.MouseWheel(-120, ShiftState::None);
  EXPECT_EQ(editor.TopRow(), 3);
  editor.MouseWheel(-360, ShiftState::None);
  EXPECT_EQ(editor.TopRow(), 10);  // the last line at the bottom
  editor.MouseWheel(240, ShiftState::None);
  EXPECT_EQ(editor.TopRow(), 4);
  editor.MouseWheel(-120, ShiftState::Shift);
  EXPECT_EQ(editor.LeftCol(), 3);
  EXPECT_EQ(editor.CaretRow(), 0);  // the wheel never moves the caret
}

// --- notifications ------------------------------------------------------------------------------

TEST_F(EditorTest, StatusChangesAfterCaretSelectionAndScroll) {
  Load(NumberedLines(30));
  int changes = 0;
  editor.OnChangeStatus = [&](TRAHLEditor&) { ++changes; };
  editor.MoveCaret(3, 1);
  EXPECT_GE(changes, 1);
  changes = 0;
  editor.ScrollTo(0, 5);
  EXPECT_EQ(changes, 1);
  changes = 0;
  editor.ScrollTo(0, 5);  // no change, no notification
  EXPECT_EQ(changes, 0);
  editor.SetSelLength(2);
  EXPECT_GE(changes, 1);
}

TEST_F(EditorTest, AnUpdateBracketRepaintsOnceAtItsEnd) {
  int repaints = 0;
  int scrolls = 0;
  const auto observer = editor.AddObserver([&](Component&, Change change) {
    repaints += change == Change::Repaint;
    scrolls += change == Change::Scroll;
  });
  editor.BeginUpdate();
  editor.Clear();
  for (int i = 0; i < 5; ++i)
    editor.AddLine("x");
  editor.MoveCaret(3, 0);
  EXPECT_EQ(repaints, 0);
  EXPECT_EQ(scrolls, 0);
  editor.EndUpdate();
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(editor.TakeInvalidRect(), (Rect{0, 0, 14 + 7 * 20, 14 * 10}));
  EXPECT_TRUE(editor.TakeInvalidRect().IsEmpty());
  editor.EndUpdate();  // unbalanced: ignored
  EXPECT_FALSE(editor.Updating());
  editor.RemoveObserver(observer);
}

TEST_F(EditorTest, CellRectanglesStartAfterTheGutter) {
  EXPECT_EQ(editor.CellRect(0, 0), (Rect{14, 0, 21, 14}));
  EXPECT_EQ(editor.CellRect(2, 3), (Rect{28, 42, 35, 56}));
  Load({"abc", "def"});
  editor.MoveCaret(1, 2);
  EXPECT_EQ(editor.CaretRect(), (Rect{28, 14, 30, 28}));
  editor.ScrollTo(0, 1);
  EXPECT_EQ(editor.CaretRect(), (Rect{28, 0, 30, 14}));
}

}  // namespace
}  // namespace brontel::ui
