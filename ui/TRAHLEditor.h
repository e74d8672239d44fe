/** @file TRAHLEditor.h: the read-only text view control: lines, caret, selection, painting. */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Canvas.h"
#include "ui/Clipboard.h"
#include "ui/Control.h"
#include "ui/FileLines.h"
#include "ui/Keys.h"
#include "ui/LineSource.h"
#include "ui/LineStore.h"
#include "ui/PopupMenu.h"

namespace brontel::ui {

// The caret may stand past the end of a shorter line up to this column; on a longer line it
// may stand at any of its columns.
inline constexpr int kMaxCaretColumn = 1024;
// Attribute entries handed to OnGetLineAttr: character positions 0 .. 1024, where position
// p + 1 is the character in column p (so entry 0 colours nothing); the columns after the last
// entry are painted with its attribute.
inline constexpr std::size_t kLineAttrCount = 1025;
using LineAttrs = std::array<TextAttr, kLineAttrCount>;

// The read-only multi-line text view of a viewer window. All behaviour (line store, caret,
// selection, scrolling, keys, mouse, painting) lives here; a shell only reports the client
// size and the font's cell size, forwards input, paints through a Canvas when asked
// (Change::Repaint, see TakeInvalidRect) and follows Change::Scroll with its scroll bars.
//
// Geometry: the client area starts with the gutter (GutterWidth pixels) at the left; text
// cells follow. Rows and columns of the caret are line index and character index; "visible
// rows" counts whole rows only. UI thread only.
class TRAHLEditor : public Control {
 public:
  using GetLineAttrEvent = std::function<void(TRAHLEditor& sender, std::string_view line,
                                              std::size_t index, LineAttrs& attrs)>;
  using PaintGutterEvent = std::function<void(TRAHLEditor& sender, Canvas& canvas)>;
  using EditorEvent = std::function<void(TRAHLEditor& sender)>;
  // Setting `key` to 0 consumes the key: the view then does nothing with it.
  using KeyDownEvent = std::function<void(TRAHLEditor& sender, KeyCode& key, ShiftState shift)>;

  explicit TRAHLEditor(std::string name);

  // --- lines ---------------------------------------------------------------------------
  // The lines shown: the view's own store, or the source given to ShowSource.
  const LineSource& Lines() const { return Source(); }
  void Clear();
  // Shows the lines of `source` (held, not copied) until the lines are next assigned, edited,
  // added to or cleared.
  void ShowSource(std::shared_ptr<const LineSource> source);
  bool ShowsSource() const { return external_ != nullptr; }
  void AssignLines(std::span<const std::string> lines);
  void AssignLines(std::span<const std::string_view> lines);
  // `head`, then the lines of a file's text, built in the text's own buffer (see LineStore).
  void AssignLinesInPlace(std::span<const std::string_view> head, std::string&& text,
                          FileLines&& lines);
  void AddLine(std::string_view line);
  // Changes the lines as `edit` says (see LineEdit): a rebuild whose lines mostly stay as they
  // were costs only what changes. The caret and selection are kept as a replacement keeps them.
  void EditLines(const LineEdit& edit);
  // Changes whenever the lines change, so a caller can tell its own last view from any other.
  std::uint64_t LinesVersion() const { return linesVersion_; }
  std::size_t LineCount() const { return Source().Count(); }
  // REQUIRES: i < LineCount(). Valid as LineSource::Line says.
  std::string_view Line(std::size_t i) const { return Source().Line(i); }
  // All lines, each followed by CR LF; the lines "ab" and "c" give 7 characters. A copy: a view
  // of a whole file asks for stretches (Lines().TextRange) instead.
  std::string Text() const;
  std::size_t TextLength() const { return Source().TextLength(); }
  // Writes the whole text to `path`, replacing the file. Throws platform::PlatformError.
  void SaveToFile(const std::string& path) const;
  // Changes inside a Begin/EndUpdate bracket (brackets nest) repaint once, at the end, and
  // tell the shell's scroll bars once.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateDepth_ > 0; }

  // --- caret and scrolling -------------------------------------------------------------
  // Replacing or clearing the lines keeps the caret row and column within the new lines and
  // drops the selection (Place and SetPlace keep the reader's place over a replacement).
  int CaretRow() const { return caretRow_; }
  int CaretCol() const { return caretCol_; }
  // Number of lines, but at least 1.
  int RowCount() const;
  int TopRow() const { return topRow_; }
  int LeftCol() const { return leftCol_; }
  // Whole rows / columns of text that fit into the client area (at least 1 each).
  int VisibleRows() const;
  int VisibleCols() const;
  // The largest left column: kMaxCaretColumn, or the longest line's length when it is longer.
  int MaxLeftCol() const;
  // Scrolls the view; negative values are taken as 0, a top row beyond the last line as the
  // last line, a left column beyond MaxLeftCol as MaxLeftCol.
  void ScrollTo(int leftCol, int topRow);
  void SetTopRow(int topRow) { ScrollTo(leftCol_, topRow); }
  void SetLeftCol(int leftCol) { ScrollTo(leftCol, topRow_); }
  // Moves the caret to a line and column: the line is limited to the existing lines, the
  // column to 0 .. the larger of kMaxCaretColumn and the line's length. When the caret moves, the
  // view scrolls as little as needed to show it (a line above the view becomes the top row, one
  // below it the last visible row, likewise for columns); drops the selection.
  void MoveCaret(int row, int col);
  // MoveCaret(row, CaretCol()).
  void SetCaretRow(int row) { MoveCaret(row, caretCol_); }
  // When the caret's line is not among the visible rows: top row = caret row minus half the
  // visible rows (rounded to nearest, a half to the even number), but not below 0.
  void BringCaretLineIntoView();

  // Where the reader stands: the view's top row and left column, the caret, and the selection
  // by line and column (its anchor, and whether it runs to the end of the text).
  struct ViewPlace {
    int topRow = 0;
    int leftCol = 0;
    int caretRow = 0;
    int caretCol = 0;
    bool selected = false;
    int anchorRow = 0;
    int anchorCol = 0;
    bool selectionToTextEnd = false;
  };
  ViewPlace Place() const;
  // Puts the reader back at `place` after the lines were replaced, each part limited to the
  // lines now shown (as MoveCaret and ScrollTo limit them); the view scrolls to the place's top
  // row and left column, not to the caret.
  void SetPlace(const ViewPlace& place);

  // --- selection by text offset ----------------------------------------------------------
  // The caret as a text offset: its line's start plus its column, limited to the line's
  // length.
  std::size_t CaretOffset() const;
  // Start of the selection (the caret offset when nothing is selected) and its length.
  std::size_t SelStart() const;
  std::size_t SelLength() const;
  // Moves the caret to `offset` (as MoveCaret does), clears the selection and brings the caret's
  // line into view.
  void SetSelStart(std::size_t offset);
  // Selects `count` characters from the caret onwards (negative: backwards); the caret moves to
  // the selection's far end, and the selection ends where the caret stands (or at the end of
  // the text when the count reaches it).
  void SetSelLength(std::int64_t count);
  std::string SelectedText() const;
  void SelectAll();
  // Copies the selection to the clipboard (the selection stays); nothing when it is empty or
  // no clipboard was given.
  void CopyToClipboard();
  void SetClipboard(Clipboard* clipboard) { clipboard_ = clipboard; }

  // --- geometry and look -------------------------------------------------------------------
  int GutterWidth() const { return gutterWidth_; }
  void SetGutterWidth(int width);
  // The character cell of the font, reported by the shell (the canvas's CellSize).
  Size CellSize() const { return cellSize_; }
  void SetCellSize(Size size);
  // Pixel rectangle of the cell at visible column `col` and visible row `row` (both counted
  // from the view's left column and top row).
  Rect CellRect(int col, int row) const;
  // The caret's pixel rectangle (a 2-pixel bar at the left of its cell), for shells that
  // show a blinking caret; empty when the caret is outside the visible area.
  Rect CaretRect() const;
  // Asks for a repaint of `rect` (or everything); the shell collects it with TakeInvalidRect.
  void Invalidate();
  void InvalidateRect(const Rect& rect, bool eraseBackground);
  // The area to repaint since the last call, and empties it.
  Rect TakeInvalidRect();

  const TextAttr& DefaultAttr() const { return defaultAttr_; }
  void SetSelectionAttr(const TextAttr& attr) { selectionAttr_ = attr; }

  PopupMenu* GetPopupMenu() const { return popupMenu_; }
  void SetPopupMenu(PopupMenu* menu) { popupMenu_ = menu; }

  // --- events ------------------------------------------------------------------------------
  GetLineAttrEvent OnGetLineAttr;
  PaintGutterEvent OnPaintGutter;
  EditorEvent OnChangeStatus;  // after the caret, the selection or the view moved
  KeyDownEvent OnKeyDown;

  // --- input, forwarded by the shell --------------------------------------------------------
  // A key press: OnKeyDown first, then (unless consumed) the view's own keys: arrows, Page
  // Up/Down, Home/End, Ctrl+Home/End, Ctrl+Left/Right (by words), Ctrl+Up/Down (scroll a
  // row), with Shift extending the
  // selection; Ctrl+C and Ctrl+Insert copy; Ctrl+A selects all. True when the view used the
  // key.
  bool KeyDown(KeyCode key, ShiftState shift);
  // Client-area pixel positions. A left press moves the caret (Shift extends the selection),
  // moving with the left button held drags the selection, a double-click selects the word;
  // a right press pops up the popup menu at `at`.
  void MouseDown(MouseButton button, ShiftState shift, Point at);
  void MouseMove(ShiftState shift, Point at);
  void MouseUp(MouseButton button, ShiftState shift, Point at);
  void DoubleClick(Point at);
  // `delta` in wheel units (120 per notch, positive away from the user): three rows per
  // notch, or three columns with Shift.
  void MouseWheel(int delta, ShiftState shift);

  // --- painting ------------------------------------------------------------------------------
  // Draws the rows that meet `clip` (the whole client area by default): the gutter background
  // (brush GutterColor) and OnPaintGutter, then each visible row's text with the attributes
  // from OnGetLineAttr and the selection, and the window background after the text.
  void Paint(Canvas& canvas);
  void Paint(Canvas& canvas, const Rect& clip);

 private:
  struct Position {
    int row = 0;
    int col = 0;
  };
  Position PositionOf(std::size_t offset) const;
  std::size_t OffsetOf(Position position) const;
  Position Limit(int row, int col) const;
  int LineEnd(int row) const;
  Position CellAt(Point at) const;
  void PlaceCaret(Position position, bool extendSelection);
  void ScrollToShow(Position position);
  void MoveBy(int rows, int cols, bool extendSelection);
  void MoveTo(Position position, bool extendSelection);
  bool HandleNavigationKey(KeyCode key, ShiftState shift);
  void SelectWordAt(Position position);
  Position WordBoundary(bool forwards) const;
  void NotifyScroll();
  void AfterLinesReplaced();
  void StatusChanged();
  void FillLineAttrs(std::size_t line, LineAttrs& attrs);
  void OfferMouseSelection();
  void PaintRow(Canvas& canvas, int visibleRow, LineAttrs& attrs);
  int MaxTopRow() const;

  const LineSource& Source() const { return external_ ? *external_ : lines_; }

  LineStore lines_;
  std::shared_ptr<const LineSource> external_;
  int caretRow_ = 0;
  std::uint64_t linesVersion_ = 0;
  int caretCol_ = 0;
  std::size_t anchor_ = 0;     // selection anchor offset
  std::size_t selectEnd_ = 0;  // selection's moving end (the caret's offset, or the text end)
  int topRow_ = 0;
  int leftCol_ = 0;
  int gutterWidth_ = 14;
  Size cellSize_{7, 14};
  int updateDepth_ = 0;
  bool repaintDeferred_ = false;
  bool scrollDeferred_ = false;
  bool dragging_ = false;
  Rect invalid_;
  TextAttr defaultAttr_{clWindowText, clWindow, FontStyle::None};
  TextAttr selectionAttr_{clHighlightText, clHighlight, FontStyle::None};
  Color gutterColor_ = clBtnFace;
  Clipboard* clipboard_ = nullptr;
  PopupMenu* popupMenu_ = nullptr;
};

}  // namespace brontel::ui
