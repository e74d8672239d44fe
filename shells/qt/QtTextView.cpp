#include "shells/qt/QtTextView.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "diagnostics/Shield.h"
#include "shells/qt/QtCanvas.h"
#include "shells/qt/QtHostWindow.h"
#include "shells/qt/QtKeys.h"
#include "shells/qt/QtLook.h"
#include "shells/qt/QtText.h"

namespace brontel::qt {

namespace {

ui::Point PointOf(const QPoint& p) {
  return ui::Point{p.x(), p.y()};
}

ui::MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return ui::MouseButton::Right;
    case Qt::MiddleButton:
      return ui::MouseButton::Middle;
    default:
      return ui::MouseButton::Left;
  }
}

}  // namespace

template <typename Work>
void QtTextView::Shielded(Work&& work) {
  if (editor_ != nullptr)
    Shield::Run(editor_->name(), [&] { work(*editor_); });
}

QtTextView::QtTextView(ui::TRAHLEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), editor_(&editor) {
  setObjectName(QString::fromStdString(editor.name()));
  setFrameShape(QFrame::NoFrame);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAutoFillBackground(false);
  observer_ =
      editor.AddObserver([this](ui::Component&, ui::Change change) { OnModelChange(change); });
  if (editor.GetPopupMenu() != nullptr)
    popup_ = new QtPopupMenu(*editor.GetPopupMenu(), viewport());
  ApplyFont();
  setVisible(editor.Visible());
  setEnabled(editor.Enabled());
  PlaceAtModelBounds();
  SyncScrollBars();
}

QtTextView::~QtTextView() {
  delete popup_.data();
  if (editor_ != nullptr)
    editor_->RemoveObserver(observer_);
}

void QtTextView::Detach() {
  editor_ = nullptr;
  update();
}

void QtTextView::OnModelChange(ui::Change change) {
  if (editor_ == nullptr)
    return;
  switch (change) {
    case ui::Change::Destroyed:
      Detach();
      break;
    case ui::Change::Repaint: {
      const ui::Rect r = editor_->TakeInvalidRect();
      if (r.IsEmpty())
        viewport()->update();
      else
        viewport()->update(QRect(r.left, r.top, r.Width(), r.Height()));
      break;
    }
    case ui::Change::Scroll:
      SyncScrollBars();
      viewport()->update();
      break;
    case ui::Change::Bounds:
      if (!syncingBounds_)
        PlaceAtModelBounds();
      break;
    case ui::Change::Visible:
      setVisible(editor_->Visible());
      break;
    case ui::Change::Enabled:
      setEnabled(editor_->Enabled());
      break;
    case ui::Change::Font:
      ApplyFont();
      break;
    case ui::Change::Focus:
      if (editor_->Focused() && !hasFocus())
        setFocus(Qt::OtherFocusReason);
      break;
    default:
      break;
  }
}

void QtTextView::ApplyFont() {
  font_ = QtMonospaceFontOf(editor_->GetFont());
  editor_->SetCellSize(QtCanvas::CellSizeOf(font_));
  viewport()->update();
}

QSize QtTextView::ExpectedViewportSize(QSize widgetSize) const {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int frame = 2 * frameWidth();
  return QSize(std::max(0, widgetSize.width() - extent - frame),
               std::max(0, widgetSize.height() - extent - frame));
}

// The widget takes the model's bounds; the model then keeps the viewport's size as its client.
void QtTextView::PlaceAtModelBounds() {
  placedBounds_ = editor_->Bounds();
  const ui::Rect& b = placedBounds_;
  setGeometry(b.left, b.top, b.Width(), b.Height());
  SyncClientSize(ExpectedViewportSize(QSize(b.Width(), b.Height())));
}

void QtTextView::SyncClientSize(QSize viewportSize) {
  if (editor_ == nullptr)
    return;
  const ui::Rect client = ui::Rect::FromSize(placedBounds_.left, placedBounds_.top,
                                             viewportSize.width(), viewportSize.height());
  syncingBounds_ = true;
  Shielded([&](ui::TRAHLEditor& e) { e.SetBounds(client); });
  syncingBounds_ = false;
  SyncScrollBars();
}

int QtTextView::LongestLine() const {
  // The store keeps its longest line's length, so a reload of a large view measures nothing.
  return static_cast<int>(std::min<std::size_t>(editor_->Lines().MaxLineLength(),
                                                static_cast<std::size_t>(editor_->MaxLeftCol())));
}

void QtTextView::SyncScrollBars() {
  if (editor_ == nullptr)
    return;
  syncingScroll_ = true;
  const int rows = editor_->VisibleRows();
  const int lastTop = std::max(editor_->RowCount() - rows, editor_->TopRow());
  verticalScrollBar()->setRange(0, std::max(0, lastTop));
  verticalScrollBar()->setPageStep(rows);
  verticalScrollBar()->setValue(editor_->TopRow());
  const int cols = editor_->VisibleCols();
  const int lastLeft = std::max(LongestLine() + 1 - cols, editor_->LeftCol());
  horizontalScrollBar()->setRange(0, std::max(0, lastLeft));
  horizontalScrollBar()->setPageStep(cols);
  horizontalScrollBar()->setValue(editor_->LeftCol());
  syncingScroll_ = false;
}

void QtTextView::scrollContentsBy(int, int) {
  if (syncingScroll_)
    return;
  const int left = horizontalScrollBar()->value();
  const int top = verticalScrollBar()->value();
  Shielded([&](ui::TRAHLEditor& e) { e.ScrollTo(left, top); });
  viewport()->update();
}

bool QtTextView::event(QEvent* event) {
  // The viewer sees its keys before any shortcut of the host (it hands back what the host
  // should have); Alt combinations stay the host's.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::AltModifier) && VirtualKeyOf(key->key()) != 0) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void QtTextView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  if (editor_ == nullptr) {
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    return;
  }
  const QRect r = event->rect();
  QtCanvas canvas(painter, font_, palette());
  Shielded([&](ui::TRAHLEditor& e) {
    e.Paint(canvas, ui::Rect::FromSize(r.x(), r.y(), r.width(), r.height()));
  });
  if (hasFocus()) {
    const ui::Rect caret = editor_->CaretRect();
    if (!caret.IsEmpty())
      painter.fillRect(QRect(caret.left, caret.top, caret.Width(), caret.Height()),
                       palette().color(QPalette::Text));
  }
}

void QtTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (!syncingBounds_)
    SyncClientSize(viewport()->size());
}

void QtTextView::keyPressEvent(QKeyEvent* event) {
  event->accept();
  ui::KeyCode key = VirtualKeyOf(event->key(), event->modifiers() & Qt::KeypadModifier);
  if (key == 0 || editor_ == nullptr)
    return;
  const ui::ShiftState shift = ShiftStateOf(event->modifiers());
  const CurrentKeyEvent current(*event);
  bool used = false;
  Shielded([&](ui::TRAHLEditor& e) { used = e.KeyDown(key, shift); });
  if (!used && unusedKey_)
    Shield::Run("QtTextView key", [&] { unusedKey_(key, shift); });
}

// Releases stay here as well: a host that saw one would take it for a key typed in its own window.
void QtTextView::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
}

void QtTextView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const ui::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  Shielded([&](ui::TRAHLEditor& e) {
    e.MouseDown(ButtonOf(event->button()), shift, PointOf(event->pos()));
  });
}

void QtTextView::mouseMoveEvent(QMouseEvent* event) {
  const ui::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  Shielded([&](ui::TRAHLEditor& e) { e.MouseMove(shift, PointOf(event->pos())); });
}

void QtTextView::mouseReleaseEvent(QMouseEvent* event) {
  const ui::ShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  Shielded([&](ui::TRAHLEditor& e) {
    e.MouseUp(ButtonOf(event->button()), shift, PointOf(event->pos()));
  });
}

void QtTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  Shielded([&](ui::TRAHLEditor& e) { e.DoubleClick(PointOf(event->pos())); });
}

void QtTextView::wheelEvent(QWheelEvent* event) {
  event->accept();
  const ui::ShiftState shift = ShiftStateOf(event->modifiers());
  const QPoint delta = event->angleDelta();
  Shielded([&](ui::TRAHLEditor& e) {
    if (delta.y() != 0)
      e.MouseWheel(delta.y(), shift);
    if (delta.x() != 0)
      e.MouseWheel(delta.x(), shift | ui::ShiftState::Shift);
  });
}

void QtTextView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  Shielded([](ui::TRAHLEditor& e) {
    if (!e.Focused())
      e.SetFocus();
  });
  viewport()->update();
}

void QtTextView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

}  // namespace brontel::qt
