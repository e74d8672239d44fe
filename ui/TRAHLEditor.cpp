#include "ui/TRAHLEditor.h"

#include <algorithm>
#include <cctype>

namespace brontel::ui {

namespace {

// n / 2 rounded to the nearest whole number, a half to the even one (41 gives 20, 43 gives 22).
int HalfRoundedToEven(int n) {
  const int half = n / 2;
  if (n % 2 == 0)
    return half;
  return half % 2 == 0 ? half : half + 1;
}

bool IsWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || u >= 0x80;
}

constexpr int kWheelDelta = 120;
constexpr int kWheelStep = 3;

}  // namespace

TRAHLEditor::TRAHLEditor(std::string name) : Control(std::move(name)) {
  SetColor(clWindow);
  SetFont(Font{"Courier New", -11, FontStyle::None});
}

// --- lines -----------------------------------------------------------------------------------

void TRAHLEditor::Clear() {
  external_.reset();
  lines_.Clear();
  AfterLinesReplaced();
}

void TRAHLEditor::AssignLines(std::span<const std::string> lines) {
  external_.reset();
  lines_.Assign(lines);
  AfterLinesReplaced();
}

void TRAHLEditor::AssignLines(std::span<const std::string_view> lines) {
  external_.reset();
  lines_.Assign(lines);
  AfterLinesReplaced();
}

void TRAHLEditor::AssignLinesInPlace(std::span<const std::string_view> head, std::string&& text,
                                     FileLines&& lines) {
  external_.reset();
  lines_.AssignInPlace(head, std::move(text), std::move(lines));
  AfterLinesReplaced();
}

void TRAHLEditor::ShowSource(std::shared_ptr<const LineSource> source) {
  lines_.Clear();
  external_ = std::move(source);
  AfterLinesReplaced();
}

void TRAHLEditor::SaveToFile(const std::string& path) const {
  if (!external_) {
    lines_.SaveToFile(path);
    return;
  }
  // A whole file's view goes out a stretch at a time.
  LineStore none;
  none.SaveToFile(path);
  constexpr std::size_t kStretch = 1 << 20;
  for (std::size_t from = 0; from < TextLength(); from += kStretch)
    LineStore::AppendToFile(path, external_->TextRange(from, kStretch));
}

std::string TRAHLEditor::Text() const {
  return Source().TextRange(0, TextLength());
}

void TRAHLEditor::EditLines(const LineEdit& edit) {
  external_.reset();
  lines_.Edit(edit);
  AfterLinesReplaced();
}

void TRAHLEditor::AddLine(std::string_view line) {
  ++linesVersion_;
  if (external_) {
    external_.reset();
    lines_.Clear();
  }
  const bool wasEmpty = lines_.Empty();
  lines_.Add(line);
  if (wasEmpty) {
    AfterLinesReplaced();
    return;
  }
  NotifyScroll();  // the row count grew
  Invalidate();
}

void TRAHLEditor::AfterLinesReplaced() {
  ++linesVersion_;
  const Position limited = Limit(caretRow_, caretCol_);
  caretRow_ = limited.row;
  caretCol_ = limited.col;
  anchor_ = selectEnd_ = CaretOffset();
  topRow_ = std::min(topRow_, MaxTopRow());
  leftCol_ = std::min(leftCol_, MaxLeftCol());
  NotifyScroll();
  Invalidate();
  StatusChanged();
}

void TRAHLEditor::BeginUpdate() {
  ++updateDepth_;
}

void TRAHLEditor::EndUpdate() {
  if (updateDepth_ == 0)
    return;
  if (--updateDepth_ > 0)
    return;
  if (scrollDeferred_) {
    scrollDeferred_ = false;
    Notify(Change::Scroll);
  }
  if (repaintDeferred_) {
    repaintDeferred_ = false;
    Notify(Change::Repaint);
  }
}

void TRAHLEditor::NotifyScroll() {
  if (Updating()) {
    scrollDeferred_ = true;
    return;
  }
  Notify(Change::Scroll);
}

// --- caret and scrolling -------------------------------------------------------------------

int TRAHLEditor::RowCount() const {
  return std::max<int>(1, static_cast<int>(LineCount()));
}

int TRAHLEditor::MaxTopRow() const {
  return RowCount() - 1;
}

int TRAHLEditor::VisibleRows() const {
  return std::max(1, ClientHeight() / cellSize_.height);
}

int TRAHLEditor::VisibleCols() const {
  return std::max(1, (ClientWidth() - gutterWidth_) / cellSize_.width);
}

int TRAHLEditor::MaxLeftCol() const {
  return static_cast<int>(
      std::max(Source().MaxLineLength(), static_cast<std::size_t>(kMaxCaretColumn)));
}

void TRAHLEditor::ScrollTo(int leftCol, int topRow) {
  leftCol = std::clamp(leftCol, 0, MaxLeftCol());
  topRow = std::clamp(topRow, 0, MaxTopRow());
  if (leftCol == leftCol_ && topRow == topRow_)
    return;
  leftCol_ = leftCol;
  topRow_ = topRow;
  NotifyScroll();
  Invalidate();
  StatusChanged();
}

TRAHLEditor::Position TRAHLEditor::Limit(int row, int col) const {
  const int lastRow = std::max(0, static_cast<int>(LineCount()) - 1);
  row = std::clamp(row, 0, lastRow);
  return Position{row, std::clamp(col, 0, std::max(kMaxCaretColumn, LineEnd(row)))};
}

int TRAHLEditor::LineEnd(int row) const {
  return Source().Empty() ? 0
                          : static_cast<int>(Source().LineLength(static_cast<std::size_t>(row)));
}

void TRAHLEditor::MoveCaret(int row, int col) {
  PlaceCaret(Limit(row, col), false);
}

void TRAHLEditor::ScrollToShow(Position p) {
  int top = topRow_;
  int left = leftCol_;
  const int rows = VisibleRows();
  const int cols = VisibleCols();
  if (p.row < top) {
    top = p.row;
  } else if (p.row >= top + rows) {
    top = p.row - rows + 1;
  }
  if (p.col < left) {
    left = p.col;
  } else if (p.col >= left + cols) {
    left = p.col - cols + 1;
  }
  if (top == topRow_ && left == leftCol_)
    return;
  topRow_ = std::clamp(top, 0, MaxTopRow());
  leftCol_ = std::clamp(left, 0, MaxLeftCol());
  NotifyScroll();
}

void TRAHLEditor::PlaceCaret(Position p, bool extendSelection) {
  const bool moved = p.row != caretRow_ || p.col != caretCol_;
  caretRow_ = p.row;
  caretCol_ = p.col;
  // Only a caret that actually moves scrolls the view; a view scrolled away from a caret that
  // stays put is left alone (BringCaretLineIntoView handles that case).
  if (moved)
    ScrollToShow(p);
  const std::size_t offset = CaretOffset();
  if (!extendSelection)
    anchor_ = offset;
  selectEnd_ = offset;
  Invalidate();
  StatusChanged();
}

void TRAHLEditor::BringCaretLineIntoView() {
  const int rows = VisibleRows();
  if (caretRow_ >= topRow_ && caretRow_ < topRow_ + rows)
    return;
  ScrollTo(leftCol_, std::max(0, caretRow_ - HalfRoundedToEven(rows)));
}

TRAHLEditor::ViewPlace TRAHLEditor::Place() const {
  ViewPlace place;
  place.topRow = topRow_;
  place.leftCol = leftCol_;
  place.caretRow = caretRow_;
  place.caretCol = caretCol_;
  place.selected = SelLength() > 0;
  if (place.selected) {
    const Position anchor = PositionOf(anchor_);
    place.anchorRow = anchor.row;
    place.anchorCol = anchor.col;
    place.selectionToTextEnd = selectEnd_ == TextLength();
  }
  return place;
}

void TRAHLEditor::SetPlace(const ViewPlace& place) {
  const Position caret = Limit(place.caretRow, place.caretCol);
  caretRow_ = caret.row;
  caretCol_ = caret.col;
  selectEnd_ = place.selected && place.selectionToTextEnd ? TextLength() : CaretOffset();
  anchor_ = place.selected ? OffsetOf(Limit(place.anchorRow, place.anchorCol)) : selectEnd_;
  topRow_ = std::clamp(place.topRow, 0, MaxTopRow());
  leftCol_ = std::clamp(place.leftCol, 0, MaxLeftCol());
  NotifyScroll();
  Invalidate();
  StatusChanged();
}

// --- selection -----------------------------------------------------------------------------

std::size_t TRAHLEditor::OffsetOf(Position p) const {
  if (Source().Empty())
    return 0;
  const auto row = static_cast<std::size_t>(p.row);
  return Source().LineStart(row) +
         std::min(static_cast<std::size_t>(p.col), Source().LineLength(row));
}

TRAHLEditor::Position TRAHLEditor::PositionOf(std::size_t offset) const {
  if (Source().Empty())
    return Position{};
  const std::size_t line = Source().LineOf(std::min(offset, Source().TextLength()));
  const std::size_t length = Source().LineLength(line);
  const std::size_t column = std::min(offset - std::min(offset, Source().LineStart(line)), length);
  return Limit(static_cast<int>(line), static_cast<int>(column));
}

std::size_t TRAHLEditor::CaretOffset() const {
  return OffsetOf(Position{caretRow_, caretCol_});
}

std::size_t TRAHLEditor::SelStart() const {
  return std::min(anchor_, selectEnd_);
}

std::size_t TRAHLEditor::SelLength() const {
  return std::max(anchor_, selectEnd_) - std::min(anchor_, selectEnd_);
}

void TRAHLEditor::SetSelStart(std::size_t offset) {
  PlaceCaret(PositionOf(offset), false);
  BringCaretLineIntoView();
}

void TRAHLEditor::SetSelLength(std::int64_t count) {
  const std::size_t anchor = CaretOffset();
  const auto length = static_cast<std::int64_t>(TextLength());
  const auto target = static_cast<std::size_t>(
      std::clamp(static_cast<std::int64_t>(anchor) + count, std::int64_t{0}, length));
  PlaceCaret(PositionOf(target), false);
  anchor_ = anchor;
  selectEnd_ = target == TextLength() ? target : CaretOffset();
  Invalidate();
  StatusChanged();
}

std::string TRAHLEditor::SelectedText() const {
  return Source().TextRange(SelStart(), SelLength());
}

void TRAHLEditor::SelectAll() {
  PlaceCaret(PositionOf(TextLength()), false);
  anchor_ = 0;
  selectEnd_ = TextLength();
  Invalidate();
  StatusChanged();
}

void TRAHLEditor::CopyToClipboard() {
  if (clipboard_ && SelLength() > 0)
    clipboard_->SetText(SelectedText());
}

void TRAHLEditor::SelectWordAt(Position p) {
  if (Source().Empty())
    return;
  const std::string_view line = Line(static_cast<std::size_t>(p.row));
  auto col = static_cast<std::size_t>(p.col);
  if (col >= line.size() || !IsWordChar(line[col])) {
    PlaceCaret(p, false);
    return;
  }
  std::size_t begin = col;
  while (begin > 0 && IsWordChar(line[begin - 1]))
    --begin;
  std::size_t end = col;
  while (end < line.size() && IsWordChar(line[end]))
    ++end;
  const std::size_t lineStart = Source().LineStart(static_cast<std::size_t>(p.row));
  PlaceCaret(PositionOf(lineStart + begin), false);
  PlaceCaret(PositionOf(lineStart + end), true);
}

// --- geometry ------------------------------------------------------------------------------

void TRAHLEditor::SetGutterWidth(int width) {
  width = std::max(0, width);
  if (width == gutterWidth_)
    return;
  gutterWidth_ = width;
  Invalidate();
}

void TRAHLEditor::SetCellSize(Size size) {
  size.width = std::max(1, size.width);
  size.height = std::max(1, size.height);
  if (size == cellSize_)
    return;
  cellSize_ = size;
  NotifyScroll();
  Invalidate();
}

Rect TRAHLEditor::CellRect(int col, int row) const {
  return Rect::FromSize(gutterWidth_ + col * cellSize_.width, row * cellSize_.height,
                        cellSize_.width, cellSize_.height);
}

Rect TRAHLEditor::CaretRect() const {
  const int row = caretRow_ - topRow_;
  const int col = caretCol_ - leftCol_;
  if (row < 0 || row >= VisibleRows() || col < 0 || col > VisibleCols())
    return Rect{};
  const Rect cell = CellRect(col, row);
  return Rect{cell.left, cell.top, cell.left + 2, cell.bottom};
}

void TRAHLEditor::Invalidate() {
  InvalidateRect(Rect{0, 0, ClientWidth(), ClientHeight()}, true);
}

void TRAHLEditor::InvalidateRect(const Rect& rect, bool /*eraseBackground*/) {
  // The paint routine fills every pixel it owns, so erasing first changes nothing visible.
  invalid_ = invalid_.United(rect);
  if (Updating()) {
    repaintDeferred_ = true;
    return;
  }
  Notify(Change::Repaint);
}

Rect TRAHLEditor::TakeInvalidRect() {
  const Rect taken = invalid_;
  invalid_ = Rect{};
  return taken;
}

void TRAHLEditor::StatusChanged() {
  if (OnChangeStatus)
    OnChangeStatus(*this);
}

// --- keys and mouse ------------------------------------------------------------------------

bool TRAHLEditor::KeyDown(KeyCode key, ShiftState shift) {
  if (OnKeyDown)
    OnKeyDown(*this, key, shift);
  if (key == 0)
    return true;
  return HandleNavigationKey(key, shift);
}

void TRAHLEditor::MoveTo(Position p, bool extendSelection) {
  PlaceCaret(p, extendSelection);
}

void TRAHLEditor::MoveBy(int rows, int cols, bool extendSelection) {
  MoveTo(Limit(caretRow_ + rows, caretCol_ + cols), extendSelection);
}

bool TRAHLEditor::HandleNavigationKey(KeyCode key, ShiftState shift) {
  const ShiftState mods = Modifiers(shift);
  const bool extend = Has(mods, ShiftState::Shift);
  const bool ctrl = Has(mods, ShiftState::Ctrl);
  if (Has(mods, ShiftState::Alt))
    return false;
  const int lastRow = std::max(0, static_cast<int>(LineCount()) - 1);
  switch (key) {
    case vk::Up:
    case vk::Down: {
      const int step = key == vk::Up ? -1 : 1;
      if (ctrl && !extend) {
        ScrollTo(leftCol_, topRow_ + step);
      } else {
        MoveBy(step, 0, extend);
      }
      return true;
    }
    case vk::Left:
      if (ctrl) {
        MoveTo(WordBoundary(false), extend);
      } else if (caretCol_ == 0 && caretRow_ > 0) {
        MoveTo(Limit(caretRow_ - 1, LineEnd(caretRow_ - 1)), extend);
      } else {
        MoveBy(0, -1, extend);
      }
      return true;
    case vk::Right:
      if (ctrl) {
        MoveTo(WordBoundary(true), extend);
      } else if (caretCol_ >= LineEnd(caretRow_) && caretRow_ < lastRow) {
        MoveTo(Limit(caretRow_ + 1, 0), extend);
      } else {
        MoveBy(0, 1, extend);
      }
      return true;
    case vk::Prior:
    case vk::Next: {
      const int page = key == vk::Prior ? -VisibleRows() : VisibleRows();
      ScrollTo(leftCol_, std::min(topRow_ + page, std::max(0, RowCount() - VisibleRows())));
      MoveBy(page, 0, extend);
      return true;
    }
    case vk::Home:
      MoveTo(ctrl ? Position{0, 0} : Position{caretRow_, 0}, extend);
      return true;
    case vk::End:
      MoveTo(ctrl ? Position{lastRow, LineEnd(lastRow)} : Position{caretRow_, LineEnd(caretRow_)},
             extend);
      return true;
    case vk::Insert:
      if (!ctrl || extend)
        return false;
      CopyToClipboard();
      return true;
    case 'C':
      if (!ctrl || extend)
        return false;
      CopyToClipboard();
      return true;
    case 'A':
      if (!ctrl || extend)
        return false;
      SelectAll();
      return true;
    default:
      return false;
  }
}

// The start of the next word (forwards) or of the word before the caret (backwards), over
// line ends; the text's ends when there is no such word.
TRAHLEditor::Position TRAHLEditor::WordBoundary(bool forwards) const {
  const LineSource& source = Source();
  if (source.Empty())
    return Position{};
  // Walks the text line by line (a line's end is CR LF, no word character), so a view of a
  // whole file is never joined into one text.
  std::size_t row = static_cast<std::size_t>(caretRow_);
  std::string_view line = source.Line(row);
  std::size_t col = CaretOffset() - source.LineStart(row);
  const std::size_t lastRow = source.Count() - 1;
  // The character at (row, col): a line's end counts as a non-word character.
  const auto wordAt = [&](std::size_t c) { return c < line.size() && IsWordChar(line[c]); };
  if (forwards) {
    bool inWord = true;
    for (;;) {
      if (col < line.size()) {
        const bool word = wordAt(col);
        if (!inWord && word)
          break;
        inWord = inWord && word;
        ++col;
        continue;
      }
      if (row == lastRow)
        break;
      inWord = false;
      line = source.Line(++row);
      col = 0;
    }
  } else {
    bool inGap = true;  // passing the non-word characters before the word
    for (;;) {
      if (col > 0) {
        const bool word = wordAt(col - 1);
        if (!inGap && !word)
          break;
        inGap = inGap && !word;
        --col;
        continue;
      }
      if (row == 0 || !inGap)
        break;
      line = source.Line(--row);
      col = line.size();
    }
  }
  return PositionOf(source.LineStart(row) + col);
}

TRAHLEditor::Position TRAHLEditor::CellAt(Point at) const {
  const int x = std::max(0, at.x - gutterWidth_);
  const int y = std::max(0, at.y);
  // A click in the right half of a cell places the caret after that character.
  const int col = leftCol_ + (x + cellSize_.width / 2) / cellSize_.width;
  const int row = topRow_ + y / cellSize_.height;
  return Limit(row, col);
}

void TRAHLEditor::MouseDown(MouseButton button, ShiftState shift, Point at) {
  if (button == MouseButton::Right) {
    if (popupMenu_)
      popupMenu_->Popup(at);
    return;
  }
  if (button != MouseButton::Left)
    return;
  SetFocus();
  MoveTo(CellAt(at), Has(shift, ShiftState::Shift));
  dragging_ = true;
}

void TRAHLEditor::MouseMove(ShiftState shift, Point at) {
  if (!dragging_ || !Has(shift, ShiftState::Left)) {
    dragging_ = false;
    return;
  }
  MoveTo(CellAt(at), true);
}

void TRAHLEditor::MouseUp(MouseButton button, ShiftState /*shift*/, Point /*at*/) {
  if (button != MouseButton::Left)
    return;
  if (dragging_)
    OfferMouseSelection();
  dragging_ = false;
}

void TRAHLEditor::DoubleClick(Point at) {
  dragging_ = false;
  SelectWordAt(CellAt(at));
  OfferMouseSelection();
}

void TRAHLEditor::OfferMouseSelection() {
  if (clipboard_ && SelLength() > 0)
    clipboard_->SetSelectionText(SelectedText());
}

void TRAHLEditor::MouseWheel(int delta, ShiftState shift) {
  const int steps = delta * kWheelStep / kWheelDelta;
  if (steps == 0)
    return;
  if (Has(shift, ShiftState::Shift)) {
    ScrollTo(leftCol_ - steps, topRow_);
    return;
  }
  int top = topRow_ - steps;
  // Scrolling down stops once the last line reaches the bottom of the view.
  if (steps < 0)
    top = std::min(top, std::max(topRow_, RowCount() - VisibleRows()));
  ScrollTo(leftCol_, top);
}

// --- painting ------------------------------------------------------------------------------

void TRAHLEditor::Paint(Canvas& canvas) {
  Paint(canvas, Rect{0, 0, ClientWidth(), ClientHeight()});
}

void TRAHLEditor::Paint(Canvas& canvas, const Rect& clip) {
  if (canvas.CellSize() != cellSize_)
    SetCellSize(canvas.CellSize());
  const Rect client{0, 0, ClientWidth(), ClientHeight()};
  const Rect area = clip.IsEmpty() ? client
                                   : Rect{std::max(clip.left, 0), std::max(clip.top, 0),
                                          std::min(clip.right, client.right),
                                          std::min(clip.bottom, client.bottom)};
  if (area.IsEmpty())
    return;
  LineAttrs attrs;
  const int firstRow = area.top / cellSize_.height;
  const int lastRow = (area.bottom - 1) / cellSize_.height;
  for (int row = firstRow; row <= lastRow; ++row)
    PaintRow(canvas, row, attrs);
  const Rect gutter{0, 0, gutterWidth_, client.bottom};
  if (gutter.Intersects(area)) {
    canvas.SetBrushColor(gutterColor_);
    canvas.FillRect(gutter);
    if (OnPaintGutter)
      OnPaintGutter(*this, canvas);
  }
}

void TRAHLEditor::FillLineAttrs(std::size_t line, LineAttrs& attrs) {
  attrs.fill(defaultAttr_);
  if (OnGetLineAttr)
    OnGetLineAttr(*this, Line(line), line, attrs);
}

void TRAHLEditor::PaintRow(Canvas& canvas, int visibleRow, LineAttrs& attrs) {
  const int y = visibleRow * cellSize_.height;
  const int right = ClientWidth();
  const int textWidth = std::max(0, right - gutterWidth_);
  const int cols = (textWidth + cellSize_.width - 1) / cellSize_.width;  // partial column too
  const auto line = static_cast<std::size_t>(topRow_) + static_cast<std::size_t>(visibleRow);
  auto fillFrom = [&](int x, Color color) {
    if (x >= right)
      return;
    canvas.SetBrushColor(color);
    canvas.FillRect(Rect{x, y, right, y + cellSize_.height});
  };
  if (line >= LineCount()) {
    fillFrom(gutterWidth_, defaultAttr_.background);
    return;
  }
  FillLineAttrs(line, attrs);
  const std::string_view text = Line(line);
  const std::size_t lineStart = Source().LineStart(line);
  const std::size_t selFrom = SelStart();
  const std::size_t selTo = selFrom + SelLength();
  auto selected = [&](std::size_t col) {
    const std::size_t offset = lineStart + col;
    return offset >= selFrom && offset < selTo;
  };
  // Entry p + 1 holds the attribute of column p: the line-attribute routine fills entries
  // 1 .. 1024 for the line's characters 1 .. 1024. The columns after them keep the last
  // entry's attribute, so a line's colour reaches its end.
  auto attrAt = [&](std::size_t col) {
    TextAttr attr = attrs[std::min(col + 1, kLineAttrCount - 1)];
    if (selected(col)) {
      attr.foreground = selectionAttr_.foreground;
      attr.background = selectionAttr_.background;
    }
    return attr;
  };
  const auto left = static_cast<std::size_t>(leftCol_);
  const std::size_t end = std::min(text.size(), left + static_cast<std::size_t>(cols));
  std::size_t runStart = left;
  while (runStart < end) {
    const TextAttr attr = attrAt(runStart);
    std::size_t runEnd = runStart + 1;
    while (runEnd < end && attrAt(runEnd) == attr)
      ++runEnd;
    const int x = gutterWidth_ + static_cast<int>(runStart - left) * cellSize_.width;
    canvas.DrawTextRun(Point{x, y}, text.substr(runStart, runEnd - runStart), attr);
    runStart = runEnd;
  }
  int x = gutterWidth_ + static_cast<int>(std::max(text.size(), left) - left) * cellSize_.width;
  // A selected line end shows as one highlighted cell after the text.
  if (text.size() >= left && text.size() < left + static_cast<std::size_t>(cols) &&
      selected(text.size())) {
    canvas.SetBrushColor(selectionAttr_.background);
    canvas.FillRect(Rect::FromSize(x, y, cellSize_.width, cellSize_.height));
    x += cellSize_.width;
  }
  fillFrom(x, defaultAttr_.background);
}

}  // namespace brontel::ui
