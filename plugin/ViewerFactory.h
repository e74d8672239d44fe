/** @file ViewerFactory.h: how the entry points make and close viewers without knowing their type.
 */
#pragma once

#include <cstdint>
#include <string>

#include "plugin/TListWindowIntf.h"

namespace brontel {

// The seam between the entry points and the concrete viewer window: the module that links a
// shell and the viewer supplies one, tests supply stubs.
//
// Ownership: a created viewer owns itself; the entry points only keep a reference to it until
// they close it. Threads: UI thread only.
class ViewerFactory {
 public:
  virtual ~ViewerFactory() = default;

  // Creates the viewer of `fileName` as a child of the host window `parentWindow` and makes it
  // visible. Throws when no viewer results; nothing is left behind then.
  virtual TListWindowIntf& CreateViewer(std::uintptr_t parentWindow,
                                        const std::string& fileName) = 0;

  // Asks `viewer` to close: it saves its options and has itself destroyed, possibly only after
  // the call has returned (when the UI thread's posted work next runs). May throw; a viewer
  // whose close failed stays alive.
  virtual void CloseViewer(TListWindowIntf& viewer) = 0;
};

}  // namespace brontel
