#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shells/headless/RecordingCanvas.h"
#include "tests/ui/EditorFixture.h"
#include "ui/TRAHLEditor.h"

namespace brontel::ui {
namespace {

using headless::CanvasOp;
using headless::RecordingCanvas;
using testing::NumberedLines;
using testing::SetGeometry;

constexpr TextAttr kErrorAttr{clWhite, clRed, FontStyle::Bold};

// Text cells start after the 14-pixel gutter; cells are 7 x 14.
constexpr Point Cell(int col, int row) {
  return Point{14 + 7 * col, 14 * row};
}

class EditorPaintTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGeometry(editor, 20, 5); }
  void Load(const std::vector<std::string>& lines) { editor.AssignLines(lines); }

  TRAHLEditor editor{"_editor"};
  RecordingCanvas canvas;
};

TEST_F(EditorPaintTest, PlainLinesInTheViewDefaultsAndWindowBackgroundBelow) {
  Load({"ab", "E\tc"});
  editor.Paint(canvas);
  EXPECT_EQ(canvas.TextFrom(Cell(0, 0)), "ab");
  EXPECT_EQ(canvas.TextFrom(Cell(0, 1)), "E   c");
  const auto cell = canvas.CellAt(Cell(1, 0));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->attr, (TextAttr{clWindowText, clWindow, FontStyle::None}));
  // After the text and on the rows without a line: window background.
  EXPECT_EQ(canvas.FillColorAt(Cell(5, 0)), clWindow);
  EXPECT_EQ(canvas.FillColorAt(Cell(0, 3)), clWindow);
  EXPECT_FALSE(canvas.CellAt(Cell(0, 3)));
}

TEST_F(EditorPaintTest, LineAttributesArriveFilledWithDefaultsForEveryPaintedLine) {
  Load({"first", "second", "third"});
  std::vector<std::pair<std::string, std::size_t>> calls;
  editor.OnGetLineAttr = [&](TRAHLEditor& sender, std::string_view line, std::size_t index,
                             LineAttrs& attrs) {
    EXPECT_EQ(&sender, &editor);
    calls.emplace_back(std::string(line), index);
    for (const TextAttr& attr : attrs)
      EXPECT_EQ(attr, editor.DefaultAttr());
    attrs.fill(kErrorAttr);  // spoil them: the next line must get fresh defaults again
  };
  editor.ScrollTo(0, 1);
  editor.Paint(canvas);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (std::pair<std::string, std::size_t>{"second", 1}));
  EXPECT_EQ(calls[1], (std::pair<std::string, std::size_t>{"third", 2}));
  EXPECT_EQ(kLineAttrCount, 1025u);
}

// Entries 1 .. 1024 hold the line's characters 1 .. 1024: column c is drawn with entry c + 1.
TEST_F(EditorPaintTest, ColouredLineIsOneRunFromItsFirstCharacterAndSplitsByAttribute) {
  Load({"E   disk full", "plain"});
  editor.OnGetLineAttr = [](TRAHLEditor&, std::string_view line, std::size_t, LineAttrs& attrs) {
    attrs[0] = TextAttr{clBlack, clYellow, FontStyle::Italic};  // colours no character
    if (line.starts_with("E ")) {
      for (std::size_t i = 1; i < kLineAttrCount; ++i)
        attrs[i] = kErrorAttr;
    } else {
      attrs[3].style = FontStyle::Bold;  // the third character
    }
  };
  editor.Paint(canvas);
  std::vector<CanvasOp> runs = canvas.OpsOf(CanvasOp::Kind::Text);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].text, "E   disk full");
  EXPECT_EQ(runs[0].from, Cell(0, 0));
  EXPECT_EQ(runs[0].attr, kErrorAttr);
  EXPECT_EQ(runs[1].text, "pl");
  EXPECT_EQ(runs[1].attr, editor.DefaultAttr());
  EXPECT_EQ(runs[2].text, "a");
  EXPECT_EQ(runs[2].from, Cell(2, 1));
  EXPECT_EQ(runs[2].attr.style, FontStyle::Bold);
  EXPECT_EQ(runs[3].text, "in");
}

// A long line keeps its type's colour to its end, past the last attribute entry.
TEST_F(EditorPaintTest, CharactersBeyondPosition1024KeepTheLastAttribute) {
  Load({std::string(2000, 'x')});
  editor.OnGetLineAttr = [](TRAHLEditor&, std::string_view, std::size_t, LineAttrs& attrs) {
    for (std::size_t i = 1; i < kLineAttrCount; ++i)
      attrs[i] = kErrorAttr;
  };
  editor.ScrollTo(1020, 0);
  editor.Paint(canvas);
  EXPECT_EQ(canvas.CellAt(Cell(3, 0))->attr, kErrorAttr);  // character 1024
  EXPECT_EQ(canvas.CellAt(Cell(4, 0))->attr, kErrorAttr);  // character 1025
  EXPECT_EQ(canvas.TextFrom(Cell(0, 0)).size(), 20u);      // exactly the visible columns
  editor.ScrollTo(1980, 0);
  canvas.Reset();
  editor.Paint(canvas);
  EXPECT_EQ(canvas.CellAt(Cell(19, 0))->attr, kErrorAttr);  // the line's last character
}

TEST_F(EditorPaintTest, SelectionIsDrawnInHighlightColoursKeepingTheStyle) {
  Load({"abcdef", "ghi"});
  editor.OnGetLineAttr = [](TRAHLEditor&, std::string_view, std::size_t, LineAttrs& attrs) {
    for (TextAttr& attr : attrs)
      attr.style = FontStyle::Italic;
  };
  editor.SetSelStart(2);
  editor.SetSelLength(7);  // "cdef", the line end, "g"
  editor.Paint(canvas);
  const TextAttr selected{clHighlightText, clHighlight, FontStyle::Italic};
  EXPECT_EQ(canvas.CellAt(Cell(1, 0))->attr.background, clWindow);
  EXPECT_EQ(canvas.CellAt(Cell(2, 0))->attr, selected);
  EXPECT_EQ(canvas.CellAt(Cell(5, 0))->attr, selected);
  EXPECT_EQ(canvas.FillColorAt(Cell(6, 0)), clHighlight);  // the selected line end
  EXPECT_EQ(canvas.FillColorAt(Cell(7, 0)), clWindow);
  EXPECT_EQ(canvas.CellAt(Cell(0, 1))->attr, selected);
  EXPECT_EQ(canvas.CellAt(Cell(1, 1))->attr.background, clWindow);
  EXPECT_EQ(canvas.FillColorAt(Cell(3, 1)), clWindow);  // this line end is not selected
}

TEST_F(EditorPaintTest, GutterIsFilledThenHandedToTheCallback) {
  Load(NumberedLines(10));
  editor.MoveCaret(2, 0);
  std::vector<Color> brushSeen;
  editor.OnPaintGutter = [&](TRAHLEditor& sender, Canvas& c) {
    brushSeen.push_back(c.BrushColor());
    // A caret triangle in the caret's row, as the viewer draws it.
    const Rect row = sender.CellRect(0, sender.CaretRow() - sender.TopRow());
    c.SetPenColor(clBlack);
    c.MoveTo(Point{5, row.top + 1});
    c.LineTo(Point{5, row.bottom - 1});
    c.LineTo(Point{9, row.top + row.Height() / 2});
  };
  editor.Paint(canvas);
  ASSERT_EQ(brushSeen.size(), 1u);
  EXPECT_EQ(brushSeen[0], clBtnFace);
  EXPECT_EQ(canvas.FillColorAt(Point{3, 30}), clBtnFace);
  const std::vector<CanvasOp> lines = canvas.OpsOf(CanvasOp::Kind::LineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].from, (Point{5, 29}));
  EXPECT_EQ(lines[0].to, (Point{5, 41}));
  EXPECT_EQ(lines[1].to, (Point{9, 35}));
  EXPECT_EQ(lines[1].color, clBlack);
  // The gutter comes after the text rows, so the callback draws over everything it owns.
  EXPECT_EQ(canvas.Ops().back().kind, CanvasOp::Kind::LineTo);
}

TEST_F(EditorPaintTest, HorizontalScrollShiftsTheText) {
  Load({"0123456789abcdefghijklmnopqrstuvwxyz"});
  editor.ScrollTo(10, 0);
  editor.Paint(canvas);
  EXPECT_EQ(canvas.TextFrom(Cell(0, 0)), "abcdefghijklmnopqrst");
  editor.ScrollTo(40, 0);  // past the line's end: nothing but background
  canvas.Reset();
  editor.Paint(canvas);
  EXPECT_FALSE(canvas.CellAt(Cell(0, 0)));
  EXPECT_EQ(canvas.FillColorAt(Cell(0, 0)), clWindow);
}

TEST_F(EditorPaintTest, AClippedPaintOnlyVisitsTheRowsItMeets) {
  Load(NumberedLines(5));
  std::vector<std::size_t> painted;
  editor.OnGetLineAttr = [&](TRAHLEditor&, std::string_view, std::size_t index, LineAttrs&) {
    painted.push_back(index);
  };
  int gutterCalls = 0;
  editor.OnPaintGutter = [&](TRAHLEditor&, Canvas&) { ++gutterCalls; };
  editor.Paint(canvas, Rect{30, 14 * 2 + 1, 60, 14 * 3 + 2});  // rows 2 and 3, text area only
  EXPECT_EQ(painted, (std::vector<std::size_t>{2, 3}));
  EXPECT_EQ(gutterCalls, 0);
}

TEST_F(EditorPaintTest, APartlyVisibleLastRowIsPaintedToo) {
  editor.SetBounds(Rect{0, 0, 14 + 7 * 20, 14 * 2 + 5});
  Load(NumberedLines(5));
  EXPECT_EQ(editor.VisibleRows(), 2);
  editor.Paint(canvas);
  EXPECT_EQ(canvas.TextFrom(Cell(0, 2)), "line 2");
}

TEST_F(EditorPaintTest, TheCanvasCellSizeRulesTheGeometry) {
  Load({"abc"});
  RecordingCanvas wide(Size{10, 20});
  editor.Paint(wide);
  EXPECT_EQ(editor.CellSize(), (Size{10, 20}));
  EXPECT_EQ(wide.TextFrom(Point{14, 0}), "abc");
  EXPECT_EQ(editor.VisibleRows(), 3);  // 70 pixels of 20
}

}  // namespace
}  // namespace brontel::ui
