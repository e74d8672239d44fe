/** @file QtPopupMenu.h: a popup menu model shown as a QMenu whenever it asks to be. */
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "ui/PopupMenu.h"

namespace brontel::qt {

// Shows a popup menu model for the widget it belongs to: each Popup opens a new QMenu at the
// model's point in `anchor`'s coordinates with the visible items (separators, the shortcut
// after a tab, check items with their mark); a chosen item runs its Click inside the shield. New
// items close a menu still open, whose actions would stand for the old ones.
//
// A child object of `anchor`; it dies with it and takes the menu shown along. A model that is
// destroyed first is let go (Change::Destroyed). UI thread only.
class QtPopupMenu final : public QObject {
 public:
  QtPopupMenu(ui::PopupMenu& model, QWidget* anchor);
  ~QtPopupMenu() override;

  // The menu currently shown, nullptr when none.
  QMenu* Shown() const { return menu_.data(); }

 private:
  void OnChange(ui::Change change);
  void Show();
  void AddAction(QMenu& menu, ui::MenuItem& item);

  ui::PopupMenu* model_;
  ui::Component::ObserverId observer_ = 0;
  QWidget* anchor_;
  QPointer<QMenu> menu_;
};

}  // namespace brontel::qt
