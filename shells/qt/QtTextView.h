/** @file QtTextView.h: the text view control as one custom-painted Qt scroll area. */
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QMenu>
#include <QPointer>
#include <cstddef>
#include <functional>

#include "shells/qt/QtPopupMenu.h"
#include "ui/TRAHLEditor.h"

namespace brontel::qt {

// Shows a TRAHLEditor: paints through its shared paint routine on a QtCanvas, forwards keys,
// mouse and wheel, follows its repaint and scroll requests with viewport updates and the two
// scroll bars, and pops its context menu up. The model's bounds are the widget's place in its
// parent; the model's client size is kept at the viewport's size (the scroll bars take the
// rest), so its visible rows are the rows the user sees.
//
// Keys: every key press goes to the model's KeyDown (whose key handler the viewer binds); a
// key the model does not use goes on to the unused-key handler (the form's shortcuts). Keys
// are accepted here and never propagate to the host: what the viewer hands back it delivers
// itself. Failures of the model's handlers are stopped and recorded by the shield.
//
// Lifetime: the model must outlive the widget or tell its destruction first (Change::Destroyed
// detaches the view). UI thread only.
class QtTextView final : public QAbstractScrollArea {
 public:
  using KeyHandler = std::function<void(ui::KeyCode key, ui::ShiftState shift)>;

  QtTextView(ui::TRAHLEditor& editor, QWidget* parent);
  ~QtTextView() override;

  void SetUnusedKeyHandler(KeyHandler handler) { unusedKey_ = std::move(handler); }
  ui::TRAHLEditor* Model() const { return editor_; }
  const QFont& TextFont() const { return font_; }
  // The context menu currently shown, nullptr when none.
  QMenu* ShownMenu() const { return popup_ ? popup_->Shown() : nullptr; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void OnModelChange(ui::Change change);
  void Detach();
  void ApplyFont();
  void PlaceAtModelBounds();
  void SyncClientSize(QSize viewportSize);
  QSize ExpectedViewportSize(QSize widgetSize) const;
  void SyncScrollBars();
  int LongestLine() const;
  template <typename Work>
  void Shielded(Work&& work);

  ui::TRAHLEditor* editor_;
  ui::Component::ObserverId observer_ = 0;
  QPointer<QtPopupMenu> popup_;  // a child of the viewport
  QFont font_;
  KeyHandler unusedKey_;
  bool syncingBounds_ = false;
  bool syncingScroll_ = false;
  ui::Rect placedBounds_;
};

}  // namespace brontel::qt
