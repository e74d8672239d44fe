#include "shells/qt/QtHostWindow.h"

#include <QtTest/qtestspontaneevent.h>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMetaObject>
#include <memory>

#include "shells/qt/QtKeys.h"

namespace brontel::qt {

namespace {

const QKeyEvent* currentKeyEvent = nullptr;

QKeyEvent CopyOf(const QKeyEvent& event, QEvent::Type type) {
  return QKeyEvent(type, event.key(), event.modifiers(), event.nativeScanCode(),
                   event.nativeVirtualKey(), event.nativeModifiers(), event.text(),
                   event.isAutoRepeat(), event.count());
}

bool CarriesKey(const QKeyEvent& event, ui::KeyCode key) {
  return VirtualKeyOf(event.key(), event.modifiers() & Qt::KeypadModifier) == key;
}

QString TextOf(ui::KeyCode key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return QString(QChar(key)).toLower();
  if (key == ui::vk::Escape)
    return QString(QChar(0x1B));
  return QString();
}

}  // namespace

CurrentKeyEvent::CurrentKeyEvent(const QKeyEvent& event) : previous_(currentKeyEvent) {
  currentKeyEvent = &event;
}

CurrentKeyEvent::~CurrentKeyEvent() {
  currentKeyEvent = previous_;
}

const QKeyEvent* CurrentKeyEvent::Get() {
  return currentKeyEvent;
}

QtHostWindow::QtHostWindow(QWidget* parent)
    : handle_(reinterpret_cast<std::uintptr_t>(parent)), parent_(parent) {}

std::uintptr_t QtHostWindow::NativeHandle() const {
  return handle_;
}

QWidget* QtHostWindow::KeyReceiver() const {
  QWidget* parent = parent_.data();
  if (parent == nullptr)
    return nullptr;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(parent->parentWidget());
      area != nullptr && area->viewport() == parent)
    return area;
  return parent;
}

QKeyEvent QtHostWindow::KeyEventFor(QEvent::Type type, ui::KeyCode key) {
  const QKeyEvent* current = CurrentKeyEvent::Get();
  if (current != nullptr && CarriesKey(*current, key))
    return CopyOf(*current, type);
  return QKeyEvent(type, QtKeyOf(key), Qt::NoModifier, TextOf(key));
}

void QtHostWindow::Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
  switch (message) {
    case ui::msg::Close:
      Post(KeyEventFor(QEvent::KeyPress, ui::vk::Escape));
      break;
    case ui::msg::KeyDown:
    case ui::msg::Char:
      Post(KeyEventFor(QEvent::KeyPress, static_cast<ui::KeyCode>(wParam)));
      break;
    case ui::msg::KeyUp:
      Post(KeyEventFor(QEvent::KeyRelease, static_cast<ui::KeyCode>(wParam)));
      break;
    default:
      break;
  }
}

void QtHostWindow::TakeFocus() {
  if (QWidget* receiver = KeyReceiver())
    receiver->setFocus(Qt::OtherFocusReason);
}

void QtHostWindow::TypeKey(ui::KeyCode key) {
  Post(KeyEventFor(QEvent::KeyPress, key));
  Post(KeyEventFor(QEvent::KeyRelease, key));
}

void QtHostWindow::Post(const QKeyEvent& event) const {
  QCoreApplication* application = QCoreApplication::instance();
  QPointer<QWidget> receiver = KeyReceiver();
  if (application == nullptr || receiver.isNull())
    return;
  auto copy = std::make_shared<QKeyEvent>(CopyOf(event, event.type()));
  QMetaObject::invokeMethod(
      application,
      [receiver, copy]() {
        if (receiver.isNull())
          return;
        // The host's toolkit drops key events that Qt hands it as non-spontaneous ones; sending
        // through notify keeps the flag that sendEvent would clear.
        QSpontaneKeyEvent::setSpontaneous(copy.get());
        QCoreApplication::instance()->notify(receiver.data(), copy.get());
      },
      Qt::QueuedConnection);
}

}  // namespace brontel::qt
