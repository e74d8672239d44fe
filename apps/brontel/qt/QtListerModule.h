/** @file QtListerModule.h: a viewer plug-in module loaded the way a Qt host loads it. */
#pragma once

#include <QLibrary>
#include <QString>

#include "apps/brontel/ListerEntryPoints.h"

namespace brontel::app {

// Loads the module and looks up its four entry points by their plain names. The module stays
// loaded for the whole process, as hosts keep their plug-ins: viewer widgets belong to its code.
class QtListerModule {
 public:
  // False, with errorText() saying why, when the file cannot be loaded or lacks an entry point.
  bool Load(const QString& path);

  const ListerEntryPoints& entryPoints() const { return entryPoints_; }
  QString errorText() const { return errorText_; }

 private:
  template <typename Function>
  bool Resolve(Function& target, const char* name);

  QLibrary library_;
  ListerEntryPoints entryPoints_;
  QString errorText_;
};

}  // namespace brontel::app
