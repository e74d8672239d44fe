/** @file QtControlBinding.h: one real Qt widget per control model, kept in step both ways. */
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "diagnostics/Shield.h"
#include "ui/Control.h"
#include "ui/Keys.h"

namespace brontel::qt {

// The key handler a form runs before its focused control sees a key (its key preview).
// Setting the key to 0 consumes it.
using KeyPreview = std::function<void(ui::KeyCode& key, ui::ShiftState shift)>;

// Ties a control model to the widget made for it: panels become frames, labels QLabel, check
// boxes QCheckBox, drop-down lists QComboBox, edit fields QLineEdit, buttons QPushButton (a
// flat one QToolButton, a symbol-font one a GlyphButton; a drop-down menu pops up below it as a
// QMenu), bevels lines. Model changes (bounds, visibility, enabled, caption, text, checked,
// items, index, hint, colour, font, focus) reach the widget (labels, check boxes and buttons get
// at least the room their caption needs in the font they really got, at the designed place); the
// user's clicks, choices, typing and focus reach the model, as the model's own user operations
// (Click, UserSelect, SetText, SetFocus), inside the shield, which records any failure of their
// handlers.
//
// The binding is a child object of its widget and dies with it; a model that is destroyed
// first is let go (Change::Destroyed). Key presses at the widget run the key preview first,
// but for the keys of a text field (ui::IsFieldKey), which edit fields and drop-down lists
// keep for themselves.
// UI thread only.
class QtControlBinding : public QObject {
 public:
  // Makes the widget for `control` inside `parent` and binds it; nullptr for a text view (the
  // text view has a widget of its own) or when `control` is no kind shown here.
  static QtControlBinding* Create(ui::Control& control, QWidget* parent,
                                  std::shared_ptr<KeyPreview> preview);
  ~QtControlBinding() override;

  ui::Control* Model() const { return model_; }
  QWidget* Widget() const { return widget_.data(); }

 protected:
  QtControlBinding(ui::Control& control, QWidget* widget, std::shared_ptr<KeyPreview> preview);
  // Applies every piece of state; called once the derived binding is complete.
  void Start();
  virtual void Apply(ui::Change change);
  // The room the caption needs in the widget's font; empty for a control sized by the layout.
  virtual QSize CaptionNeed() const { return {}; }
  // Places the widget at the model's bounds, or where its caption finds room (CaptionBounds).
  void Place();
  // Whether the widget keeps `key` from the key preview (a text field's typing).
  virtual bool OwnsKey(ui::KeyCode, ui::ShiftState) const { return false; }
  bool eventFilter(QObject* watched, QEvent* event) override;
  template <typename Work>
  void Shielded(Work&& work) {
    if (model_ != nullptr)
      Shield::Run(model_->name(), work);
  }

  ui::Control* model_;
  QPointer<QWidget> widget_;

 private:
  void OnChange(ui::Change change);
  bool PreviewKey(QKeyEvent& event);

  ui::Component::ObserverId observer_ = 0;
  std::shared_ptr<KeyPreview> preview_;
  bool applying_ = false;
};

}  // namespace brontel::qt
