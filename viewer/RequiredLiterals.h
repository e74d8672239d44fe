/** @file RequiredLiterals.h: texts one of which every match of an expression holds. */
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brontel {

// For an expression in the engine's syntax, one text from each of its top-level alternatives
// that every match of that alternative holds (its longest run of ordinary characters outside
// groups, sets and repetitions), so a line that holds none of them cannot match: a quick
// rejection for lines the engine would try at every position. No texts when some alternative
// has no such text of at least two characters, and then nothing can be rejected this way.
struct RequiredTexts {
  std::vector<std::string> texts;
  // Each alternative begins with its text: no match starts before the first of them in a line.
  bool leading = false;
};
RequiredTexts RequiredLiterals(std::string_view expression);

// Where the first of `texts` begins in `text`, or npos when it holds none of them.
std::size_t EarliestOf(std::string_view text, const std::vector<std::string>& texts);

}  // namespace brontel
