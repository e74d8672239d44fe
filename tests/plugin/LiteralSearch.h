/** @file LiteralSearch.h: the search done the plain way, to check and time the real one against. */
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Casing.h"
#include "plugin/TextSearcher.h"

namespace brontel::testing {

// All lines joined, each followed by carriage return and line feed.
inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// The search as the simplest reading of its rules does it: copy the whole text, upper-case all of
// it unless case matters, cut the region, and compare byte by byte at every place.
inline TextOffset LiteralSearch(std::string text, std::string pattern, TextOffset start, int flags,
                                const platform::UpperCaseMap& casing) {
  if (start < 0)
    return kNotFound;
  if ((flags & kSearchMatchCase) == 0) {
    text = casing.Upper(text);
    pattern = casing.Upper(pattern);
  }
  pattern.resize(std::strlen(pattern.c_str()));
  const bool whole_words = (flags & kSearchWholeWords) != 0;
  const auto m = static_cast<TextOffset>(pattern.size());
  const auto delimiter = [](char c) { return IsWordDelimiter(c); };
  const auto holds = [&](const std::string& region, TextOffset at) {
    for (TextOffset k = 0; k < m; ++k) {
      if (region[static_cast<std::size_t>(at + k)] != pattern[static_cast<std::size_t>(k)]) {
        return false;
      }
    }
    return true;
  };

  if ((flags & kSearchBackwards) == 0) {
    if (start > static_cast<TextOffset>(text.size()))
      return kNotFound;
    std::string region = text.substr(static_cast<std::size_t>(start));
    region.resize(std::strlen(region.c_str()));
    if (m == 0)
      return whole_words ? kNotFound : start;
    const auto n = static_cast<TextOffset>(region.size());
    for (TextOffset at = 0; at + m <= n; ++at) {
      if (!holds(region, at))
        continue;
      if (whole_words) {
        const bool starts_word = at == 0 || delimiter(region[static_cast<std::size_t>(at - 1)]);
        const bool ends_word = at + m == n || delimiter(region[static_cast<std::size_t>(at + m)]);
        if (!starts_word || !ends_word)
          continue;
      }
      return start + at;
    }
    return kNotFound;
  }

  std::string region = start > 0 ? text.substr(0, static_cast<std::size_t>(start - 1)) : text;
  region.resize(std::strlen(region.c_str()));
  if (m == 0)
    return kNotFound;
  const auto n = static_cast<TextOffset>(region.size());
  for (TextOffset end = n - 1; end >= 0; --end) {
    const TextOffset at = end - m + 1;
    if (at < 0)
      break;
    if (region[static_cast<std::size_t>(end)] != pattern.back() || !holds(region, at))
      continue;
    if (whole_words) {
      if (at == 0 || !delimiter(region[static_cast<std::size_t>(at - 1)]))
        continue;
      if (end + 1 >= n || !delimiter(region[static_cast<std::size_t>(end + 1)]))
        continue;
    }
    return at;
  }
  return kNotFound;
}

}  // namespace brontel::testing
