/** @file ListerEntryPoints.h: the four functions a viewer plug-in module exports. */
#pragma once

#include "plugin/ListerContract.h"

namespace brontel::app {

// The entry points as a host calls them (ListerContract.h): file names and search texts as
// zero-terminated UTF-8, windows as opaque pointers (QWidget* for the Qt module).
struct ListerEntryPoints {
  ListSetDefaultParamsFunction setDefaultParams = nullptr;
  ListLoadFunction load = nullptr;
  ListCloseWindowFunction closeWindow = nullptr;
  ListSearchTextFunction searchText = nullptr;

  bool Complete() const {
    return setDefaultParams != nullptr && load != nullptr && closeWindow != nullptr &&
           searchText != nullptr;
  }
};

}  // namespace brontel::app
