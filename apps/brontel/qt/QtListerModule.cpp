#include "apps/brontel/qt/QtListerModule.h"

namespace brontel::app {

template <typename Function>
bool QtListerModule::Resolve(Function& target, const char* name) {
  target = reinterpret_cast<Function>(library_.resolve(name));
  if (target == nullptr)
    errorText_ = QStringLiteral("%1 has no entry point %2").arg(library_.fileName(), name);
  return target != nullptr;
}

bool QtListerModule::Load(const QString& path) {
  library_.setFileName(path);
  if (!library_.load()) {
    errorText_ = library_.errorString();
    return false;
  }
  return Resolve(entryPoints_.setDefaultParams, "ListSetDefaultParams") &&
         Resolve(entryPoints_.load, "ListLoad") &&
         Resolve(entryPoints_.closeWindow, "ListCloseWindow") &&
         Resolve(entryPoints_.searchText, "ListSearchText");
}

}  // namespace brontel::app
