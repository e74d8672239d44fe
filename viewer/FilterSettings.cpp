#include "viewer/FilterSettings.h"

#include <algorithm>

namespace brontel {
namespace {

constexpr const char* kTypesKey = "Filter\\Types";
constexpr const char* kExpressionKey = "Filter\\Expression";
constexpr const char* kHideMatchingKey = "Filter\\HideMatching";
constexpr const char* kIgnoreCaseKey = "Filter\\IgnoreCase";
constexpr const char* kContextKey = "Filter\\Context";

}  // namespace

ViewFilter LoadViewFilter(ExtManager& store) {
  ViewFilter filter;
  filter.types = SplitTypeNames(store.ReadString(kTypesKey, ""));
  filter.expression = store.ReadString(kExpressionKey, "");
  filter.hideMatching = store.ReadBool(kHideMatchingKey, false);
  filter.ignoreCase = store.ReadBool(kIgnoreCaseKey, false);
  filter.context = std::clamp(store.ReadInteger(kContextKey, 0), 0, kMaxFilterContext);
  return filter;
}

void SaveViewFilter(ExtManager& store, const ViewFilter& filter) {
  store.WriteString(kTypesKey, JoinTypeNames(filter.types));
  store.WriteString(kExpressionKey, filter.expression);
  store.WriteBool(kHideMatchingKey, filter.hideMatching);
  store.WriteBool(kIgnoreCaseKey, filter.ignoreCase);
  store.WriteInteger(kContextKey, filter.context);
}

}  // namespace brontel
