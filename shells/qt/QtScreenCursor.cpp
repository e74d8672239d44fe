#include "shells/qt/QtScreenCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace brontel::qt {

namespace {

Qt::CursorShape ShapeOf(ui::Cursor cursor) {
  switch (cursor) {
    case ui::Cursor::IBeam:
      return Qt::IBeamCursor;
    case ui::Cursor::HourGlass:
      return Qt::WaitCursor;
    default:
      return Qt::ArrowCursor;
  }
}

bool HaveGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

QtScreenCursor::~QtScreenCursor() {
  Set(ui::Cursor::Default);
}

void QtScreenCursor::Set(ui::Cursor cursor) {
  if (cursor == current_)
    return;
  current_ = cursor;
  if (!HaveGuiApplication())
    return;
  if (overriding_) {
    QGuiApplication::restoreOverrideCursor();
    overriding_ = false;
  }
  if (cursor != ui::Cursor::Default) {
    QGuiApplication::setOverrideCursor(QCursor(ShapeOf(cursor)));
    overriding_ = true;
  }
}

void QtScreenCursor::ProcessMessages() {
  // Only pending paints: a general processEvents could run posted work (a viewer's deletion
  // among it) in the middle of the long operation that asked for the hourglass.
  if (QCoreApplication::instance() != nullptr)
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

}  // namespace brontel::qt
