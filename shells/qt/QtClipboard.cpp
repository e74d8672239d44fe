#include "shells/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "shells/qt/QtText.h"

namespace brontel::qt {

void QtClipboard::SetText(std::string_view text) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    return;
  QGuiApplication::clipboard()->setText(FromBytes(text));
}

std::string QtClipboard::Text() const {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    return {};
  return ToBytes(QGuiApplication::clipboard()->text());
}

}  // namespace brontel::qt
