/** @file ViewFilter.h: which lines the body of a view shows, as the user chose them. */
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brontel {

// The most lines of context a filter shows before and after each line it lets through.
inline constexpr int kMaxFilterContext = 9;
// The type name that stands for every counted message type.
inline constexpr std::string_view kCountedTypesName = "counted";

// A filter of a view's body: the history block, the separator and the footer are never
// filtered. No type names and no expression: every line is shown (no filter at all).
struct ViewFilter {
  // Message type names (compared without case), kCountedTypesName for the counted ones; a line
  // passes when its type is one of them. Empty: any type passes.
  std::vector<std::string> types;
  // An expression in the engine's syntax; empty: any line passes.
  std::string expression;
  bool hideMatching = false;  // the lines the expression matches are hidden, not shown
  bool ignoreCase = false;    // the expression matches without regard to ASCII case
  int context = 0;            // lines shown before and after each line that passes, 0 .. 9

  bool Active() const { return !types.empty() || !expression.empty(); }
  bool operator==(const ViewFilter&) const = default;
};

// "error,Warning" -> {"error", "Warning"}: blanks around names dropped, empty names left out.
std::vector<std::string> SplitTypeNames(std::string_view list);
// The names joined by ",".
std::string JoinTypeNames(const std::vector<std::string>& names);

}  // namespace brontel
