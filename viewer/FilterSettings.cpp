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
  std::vector<std::pair<std::string, std::string>> values;
  AppendViewFilterValues(filter, values);
  store.WriteStrings(values);
}

void AppendViewFilterValues(const ViewFilter& filter,
                            std::vector<std::pair<std::string, std::string>>& values) {
  values.emplace_back(kTypesKey, JoinTypeNames(filter.types));
  values.emplace_back(kExpressionKey, filter.expression);
  values.emplace_back(kHideMatchingKey, filter.hideMatching ? "1" : "0");
  values.emplace_back(kIgnoreCaseKey, filter.ignoreCase ? "1" : "0");
  values.emplace_back(kContextKey, std::to_string(filter.context));
}

}  // namespace brontel
