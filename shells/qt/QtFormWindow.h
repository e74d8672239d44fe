/** @file QtFormWindow.h: a form's window: its controls as widgets, sized by its host. */
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "shells/qt/QtControlBinding.h"
#include "shells/qt/QtTextView.h"
#include "ui/Form.h"

namespace brontel::qt {

// The widget of a form, made as a child of the host's widget (or a top-level window without
// one). It builds one widget per control of the form, in the order of the form's children (so
// later ones stack above earlier ones), text views as QtTextView. Resizing the window resizes
// the form, whose layout then places the controls; the form's visibility shows and hides it.
//
// Keys: a key pressed in any control first goes to the form's key preview (the text view runs
// it through its own key handler instead; edit fields and drop-down lists keep the keys of a
// text field); a key that no widget takes ends here, goes to the
// unused-key handler (the form's shortcuts), and is accepted, so it never propagates on to the
// host. The focus given to the window goes on to the text view.
//
// Lifetime: the form must outlive the window, or the window be deleted before the form's
// controls go. A host that deletes its widget deletes the window with it; the bindings then let
// the models go. UI thread only.
class QtFormWindow final : public QWidget {
 public:
  struct Handlers {
    KeyPreview keyPreview;
    QtTextView::KeyHandler unusedKey;
  };

  QtFormWindow(ui::Form& form, QWidget* parent, Handlers handlers);
  ~QtFormWindow() override;

  // The widget made for `control`, nullptr when none.
  QWidget* WidgetOf(const ui::Control& control) const;
  template <typename W>
  W* WidgetAs(const ui::Control& control) const {
    return dynamic_cast<W*>(WidgetOf(control));
  }
  QtTextView* TextView() const { return textView_.data(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void BuildChildren(ui::Control& parent, QWidget* parentWidget);
  void ConnectLabels(const ui::Control& parent);
  void OnFormChange(ui::Change change);

  ui::Form* form_;
  ui::Component::ObserverId observer_ = 0;
  Handlers handlers_;
  std::shared_ptr<KeyPreview> preview_;
  std::map<const ui::Control*, QPointer<QWidget>> widgets_;
  QPointer<QtTextView> textView_;
  bool resizing_ = false;
};

}  // namespace brontel::qt
