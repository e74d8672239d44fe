/** @file FilterSettings.h: the view filter kept in the settings file between sessions. */
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/ExtManager.h"
#include "viewer/ViewFilter.h"

namespace brontel {

// The filter's keys live in a section of their own ("Filter\..."), so a file written before
// they existed loads as no filter, and the other sections' keys are neither read nor touched.
// A context outside 0 .. kMaxFilterContext reads as the nearest limit.
ViewFilter LoadViewFilter(ExtManager& store);
// Writes every key of the filter; a refused write raises as the store does.
void SaveViewFilter(ExtManager& store, const ViewFilter& filter);
// What SaveViewFilter writes, added to `values` as (key path, text).
void AppendViewFilterValues(const ViewFilter& filter,
                            std::vector<std::pair<std::string, std::string>>& values);

}  // namespace brontel
