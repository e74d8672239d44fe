#include "shells/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "shells/qt/QtText.h"

namespace brontel::qt {
namespace {

bool HasGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// The view's CR LF line ends as the platform's.
QString WithPlatformLineEnds(std::string_view text) {
  QString converted = FromBytes(text);
#ifndef Q_OS_WIN
  converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
  return converted;
}

}  // namespace

void QtClipboard::SetText(std::string_view text) {
  if (HasGuiApplication())
    QGuiApplication::clipboard()->setText(WithPlatformLineEnds(text));
}

void QtClipboard::SetSelectionText(std::string_view text) {
  if (HasGuiApplication() && QGuiApplication::clipboard()->supportsSelection())
    QGuiApplication::clipboard()->setText(WithPlatformLineEnds(text), QClipboard::Selection);
}

std::string QtClipboard::Text() const {
  if (!HasGuiApplication())
    return {};
  return ToBytes(QGuiApplication::clipboard()->text());
}

}  // namespace brontel::qt
