#include "shells/qt/QtFormWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>

#include "diagnostics/Shield.h"
#include "shells/qt/QtHostWindow.h"
#include "shells/qt/QtKeys.h"
#include "shells/qt/QtLook.h"
#include "shells/qt/QtText.h"
#include "ui/Label.h"
#include "ui/TRAHLEditor.h"

namespace brontel::qt {

QtFormWindow::QtFormWindow(ui::Form& form, QWidget* parent, Handlers handlers)
    : QWidget(parent),
      form_(&form),
      handlers_(std::move(handlers)),
      preview_(std::make_shared<KeyPreview>(handlers_.keyPreview)) {
  setObjectName(QString::fromStdString(form.name()));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QtColorOf(form.GetColor(), pal));
  setPalette(pal);
  setFont(QtFontOf(form.GetFont()));
  BuildChildren(form, this);
  ConnectLabels(form);
  if (textView_)
    setFocusProxy(textView_.data());
  const ui::Rect& b = form.Bounds();
  resize(b.Width(), b.Height());
  observer_ = form.AddObserver([this](ui::Component&, ui::Change change) { OnFormChange(change); });
  setVisible(form.Visible());
}

QtFormWindow::~QtFormWindow() {
  if (form_ != nullptr)
    form_->RemoveObserver(observer_);
}

void QtFormWindow::BuildChildren(ui::Control& parent, QWidget* parentWidget) {
  for (ui::Control* child : parent.Children()) {
    QWidget* widget = nullptr;
    if (auto* editor = dynamic_cast<ui::TRAHLEditor*>(child)) {
      auto* view = new QtTextView(*editor, parentWidget);
      view->SetUnusedKeyHandler(handlers_.unusedKey);
      if (!textView_)
        textView_ = view;
      widget = view;
    } else if (QtControlBinding* binding =
                   QtControlBinding::Create(*child, parentWidget, preview_)) {
      widget = binding->Widget();
    }
    if (widget == nullptr)
      continue;
    widget->raise();
    widgets_[child] = widget;
    BuildChildren(*child, widget);
  }
}

// A label's accelerator moves the focus to the control it names.
void QtFormWindow::ConnectLabels(const ui::Control& parent) {
  for (const ui::Control* child : parent.Children()) {
    if (const auto* label = dynamic_cast<const ui::Label*>(child)) {
      auto* qlabel = qobject_cast<QLabel*>(WidgetOf(*label));
      QWidget* buddy = label->FocusControl() ? WidgetOf(*label->FocusControl()) : nullptr;
      if (qlabel != nullptr && buddy != nullptr)
        qlabel->setBuddy(buddy);
    }
    ConnectLabels(*child);
  }
}

QWidget* QtFormWindow::WidgetOf(const ui::Control& control) const {
  auto found = widgets_.find(&control);
  return found == widgets_.end() ? nullptr : found->second.data();
}

void QtFormWindow::OnFormChange(ui::Change change) {
  if (change == ui::Change::Destroyed) {
    form_ = nullptr;
    return;
  }
  if (change == ui::Change::Visible) {
    setVisible(form_->Visible());
  } else if (change == ui::Change::Bounds && !resizing_) {
    const ui::Rect& b = form_->Bounds();
    resize(b.Width(), b.Height());
  }
}

void QtFormWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (form_ == nullptr)
    return;
  resizing_ = true;
  Shield::Run("QtFormWindow resize",
              [&] { form_->SetClientSize(event->size().width(), event->size().height()); });
  resizing_ = false;
}

void QtFormWindow::keyPressEvent(QKeyEvent* event) {
  event->accept();
  const ui::KeyCode key = VirtualKeyOf(event->key(), event->modifiers() & Qt::KeypadModifier);
  if (key == 0 || form_ == nullptr || !handlers_.unusedKey)
    return;
  const CurrentKeyEvent current(*event);
  Shield::Run("QtFormWindow key",
              [&] { handlers_.unusedKey(key, ShiftStateOf(event->modifiers())); });
}

}  // namespace brontel::qt

namespace brontel::qt {

void QtFormWindow::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
}

}  // namespace brontel::qt
