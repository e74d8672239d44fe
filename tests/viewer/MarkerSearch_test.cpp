#include "viewer/MarkerSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brontel {
namespace {

class MarkerSearch : public ::testing::Test {
 protected:
  // A view of `rows` whole visible rows holding `lines` (tabs become three blanks there).
  void Show(const std::vector<std::string>& lines, int rows = 40) {
    editor.SetCellSize(ui::Size{7, 14});
    editor.SetGutterWidth(14);
    editor.SetBounds(ui::Rect{0, 0, 14 + 7 * 80, 14 * rows});
    editor.AssignLines(lines);
    ASSERT_EQ(editor.VisibleRows(), rows);
  }
  // `count` plain lines, with `marked` put at the given rows.
  static std::vector<std::string> Lines(int count,
                                        const std::vector<std::pair<int, std::string>>& marked) {
    std::vector<std::string> lines(static_cast<std::size_t>(count), "plain line");
    for (const auto& [row, line] : marked)
      lines[static_cast<std::size_t>(row)] = line;
    return lines;
  }

  ui::TRAHLEditor editor{"_editor"};
};

TEST(IsMarkerLine, LooksAtTheFirstTwoCharactersOnly) {
  EXPECT_TRUE(IsMarkerLine("E text", 'E'));
  EXPECT_TRUE(IsMarkerLine("E   text", 'E'));
  EXPECT_TRUE(IsMarkerLine("E ", 'E'));
  EXPECT_TRUE(IsMarkerLine("|   History:3", '|'));
  EXPECT_FALSE(IsMarkerLine("E", 'E'));
  EXPECT_FALSE(IsMarkerLine("", 'E'));
  EXPECT_FALSE(IsMarkerLine("Ex", 'E'));
  EXPECT_FALSE(IsMarkerLine("E\ttext", 'E'));  // the view never holds a tab
  EXPECT_FALSE(IsMarkerLine("e text", 'E'));
  EXPECT_FALSE(IsMarkerLine("W text", 'E'));
}

TEST(MarkerTopRow, PutsTheHitNearTheMiddleButNeverAboveTheTop) {
  EXPECT_EQ(MarkerTopRow(5, 40), 0);
  EXPECT_EQ(MarkerTopRow(100, 40), 80);
  EXPECT_EQ(MarkerTopRow(100, 41), 80);
  EXPECT_EQ(MarkerTopRow(20, 40), 0);
  EXPECT_EQ(MarkerTopRow(21, 41), 1);
  EXPECT_EQ(MarkerTopRow(0, 1), 0);
}

TEST_F(MarkerSearch, FindsTabAndSingleBlankMarkersOnDisplayedLines) {
  Show(Lines(10, {{3, "E\tfrom the file"}, {6, "E one blank"}}));
  EXPECT_TRUE(GotoNext(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 3);
  EXPECT_TRUE(GotoNext(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 6);
  EXPECT_FALSE(GotoNext(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 6);
  EXPECT_TRUE(GotoPrev(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 3);
}

TEST_F(MarkerSearch, NeverFindsTheCaretRowItself) {
  Show(Lines(5, {{0, "|\thistory"}, {2, "|\tseparator"}}));
  EXPECT_TRUE(GotoNext(editor, '|'));
  EXPECT_EQ(editor.CaretRow(), 2);
  EXPECT_FALSE(GotoPrev(editor, 'W'));
  EXPECT_TRUE(GotoPrev(editor, '|'));
  EXPECT_EQ(editor.CaretRow(), 0);
}

TEST_F(MarkerSearch, NoWrapAroundAndNothingMovesOnAMiss) {
  Show(Lines(200, {{10, "W warn"}}));
  editor.MoveCaret(150, 4);
  editor.ScrollTo(3, 120);
  EXPECT_FALSE(GotoNext(editor, 'W'));
  EXPECT_EQ(editor.CaretRow(), 150);
  EXPECT_EQ(editor.CaretCol(), 4);
  EXPECT_EQ(editor.TopRow(), 120);
  EXPECT_EQ(editor.LeftCol(), 3);

  editor.MoveCaret(5, 4);
  editor.ScrollTo(3, 0);
  EXPECT_FALSE(GotoPrev(editor, 'W'));
  EXPECT_EQ(editor.CaretRow(), 5);
  EXPECT_EQ(editor.TopRow(), 0);
}

TEST_F(MarkerSearch, AtTheEdgesThereIsNothingToFind) {
  Show(Lines(3, {{0, "E a"}, {1, "E b"}, {2, "E c"}}));
  editor.MoveCaret(2, 0);
  EXPECT_FALSE(GotoNext(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 2);
  editor.MoveCaret(0, 0);
  EXPECT_FALSE(GotoPrev(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 0);
}

TEST_F(MarkerSearch, AnEmptyViewFindsNothing) {
  Show({});
  EXPECT_FALSE(GotoNext(editor, 'E'));
  EXPECT_FALSE(GotoPrev(editor, 'E'));
}

TEST_F(MarkerSearch, AHitScrollsItToTheMiddleAndKeepsColumns) {
  Show(Lines(300, {{5, "U urgent"}, {100, "U urgent"}}), 40);
  editor.MoveCaret(0, 7);
  editor.ScrollTo(2, 0);
  EXPECT_TRUE(GotoNext(editor, 'U'));
  EXPECT_EQ(editor.CaretRow(), 5);
  EXPECT_EQ(editor.TopRow(), 0);
  EXPECT_TRUE(GotoNext(editor, 'U'));
  EXPECT_EQ(editor.CaretRow(), 100);
  EXPECT_EQ(editor.TopRow(), 80);
  EXPECT_EQ(editor.CaretCol(), 7);
  EXPECT_EQ(editor.LeftCol(), 2);
}

TEST_F(MarkerSearch, OddVisibleRowsRoundTowardZero) {
  Show(Lines(300, {{100, "E x"}}), 41);
  EXPECT_TRUE(GotoNext(editor, 'E'));
  EXPECT_EQ(editor.TopRow(), 80);
  editor.MoveCaret(299, 0);
  EXPECT_TRUE(GotoPrev(editor, 'E'));
  EXPECT_EQ(editor.CaretRow(), 100);
  EXPECT_EQ(editor.TopRow(), 80);
}

}  // namespace
}  // namespace brontel
