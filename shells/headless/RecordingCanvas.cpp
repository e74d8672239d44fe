#include "shells/headless/RecordingCanvas.h"

namespace brontel::headless {

void RecordingCanvas::FillRect(const ui::Rect& rect) {
  ops_.push_back(CanvasOp{CanvasOp::Kind::Fill, rect, brush_, {}, {}, {}, {}});
  // A fill paints over the cells whose top-left pixel it covers.
  auto it = cells_.lower_bound({rect.top, rect.left});
  while (it != cells_.end() && it->first.first < rect.bottom) {
    const auto [y, x] = it->first;
    if (rect.Contains(ui::Point{x, y})) {
      it = cells_.erase(it);
    } else {
      ++it;
    }
  }
}

void RecordingCanvas::DrawTextRun(ui::Point topLeft, std::string_view text,
                                  const ui::TextAttr& attr) {
  ops_.push_back(CanvasOp{CanvasOp::Kind::Text, {}, 0, topLeft, {}, std::string(text), attr});
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int x = topLeft.x + static_cast<int>(i) * cellSize_.width;
    cells_[{topLeft.y, x}] = InkedCell{text[i], attr};
  }
}

void RecordingCanvas::MoveTo(ui::Point to) {
  ops_.push_back(CanvasOp{CanvasOp::Kind::MoveTo, {}, 0, to, {}, {}, {}});
  position_ = to;
}

void RecordingCanvas::LineTo(ui::Point to) {
  ops_.push_back(CanvasOp{CanvasOp::Kind::LineTo, {}, pen_, position_, to, {}, {}});
  position_ = to;
}

std::vector<CanvasOp> RecordingCanvas::OpsOf(CanvasOp::Kind kind) const {
  std::vector<CanvasOp> result;
  for (const CanvasOp& op : ops_) {
    if (op.kind == kind)
      result.push_back(op);
  }
  return result;
}

void RecordingCanvas::Reset() {
  ops_.clear();
  cells_.clear();
}

std::optional<InkedCell> RecordingCanvas::CellAt(ui::Point at) const {
  auto it = cells_.find({at.y, at.x});
  if (it == cells_.end())
    return std::nullopt;
  return it->second;
}

std::string RecordingCanvas::TextFrom(ui::Point start) const {
  std::string text;
  for (ui::Point at = start;; at.x += cellSize_.width) {
    const auto cell = CellAt(at);
    if (!cell)
      break;
    text.push_back(cell->character);
  }
  return text;
}

std::optional<ui::Color> RecordingCanvas::FillColorAt(ui::Point at) const {
  for (auto it = ops_.rbegin(); it != ops_.rend(); ++it) {
    if (it->kind == CanvasOp::Kind::Fill && it->rect.Contains(at))
      return it->color;
  }
  return std::nullopt;
}

}  // namespace brontel::headless
