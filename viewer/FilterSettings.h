/** @file FilterSettings.h: the view filter kept in the settings file between sessions. */
#pragma once

#include "settings/ExtManager.h"
#include "viewer/ViewFilter.h"

namespace brontel {

// The filter's keys live in a section of their own ("Filter\..."), so a file written before
// they existed loads as no filter, and the other sections' keys are neither read nor touched.
// A context outside 0 .. kMaxFilterContext reads as the nearest limit.
ViewFilter LoadViewFilter(ExtManager& store);
// Writes every key of the filter; a refused write raises as the store does.
void SaveViewFilter(ExtManager& store, const ViewFilter& filter);

}  // namespace brontel
