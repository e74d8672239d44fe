#include "viewer/ViewFilter.h"

namespace brontel {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::string> SplitTypeNames(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = TrimBlanks(list.substr(0, comma));
    if (!name.empty())
      names.emplace_back(name);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return names;
}

std::string JoinTypeNames(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty())
      list += ',';
    list += name;
  }
  return list;
}

}  // namespace brontel
