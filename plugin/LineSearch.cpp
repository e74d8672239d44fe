#include "plugin/LineSearch.h"

#include <algorithm>
#include <string>

#include "platform/Casing.h"

namespace brontel {

namespace {

TextOffset SearchForwards(const ui::LineSource& lines, std::string_view pattern,
                          std::size_t regionStart, int flags, std::size_t stretch,
                          const platform::UpperCaseMap& casing) {
  const std::size_t end = lines.TextLength();
  const platform::UpperCaseMap* compare = (flags & kSearchMatchCase) ? nullptr : &casing;
  const bool wholeWords = (flags & kSearchWholeWords) != 0;
  for (std::size_t from = regionStart; from < end; from += stretch) {
    // One character before the stretch tells whether a match at its start begins a word, and
    // the pattern's length and one more after it whether a match near its end ends one.
    const std::size_t before = from > regionStart ? 1 : 0;
    const std::size_t windowStart = from - before;
    const std::size_t windowEnd = std::min(end, from + stretch + pattern.size() + 1);
    const std::string text = lines.TextRange(windowStart, windowEnd - windowStart);
    for (std::size_t at = before; at < text.size();) {
      const TextOffset found = ScanForward(text, at, pattern, compare);
      if (found == kNotFound || windowStart + static_cast<std::size_t>(found) >= from + stretch)
        break;
      const auto hit = static_cast<std::size_t>(found);
      const std::size_t after = hit + pattern.size();
      // The region's start and the text's end count as word boundaries.
      const bool startsWord = windowStart + hit == regionStart || IsWordDelimiter(text[hit - 1]);
      const bool endsWord = (after == text.size() && windowEnd == end) ||
                            (after < text.size() && IsWordDelimiter(text[after]));
      if (!wholeWords || (startsWord && endsWord))
        return static_cast<TextOffset>(windowStart + hit);
      at = hit + 1;
    }
  }
  return kNotFound;
}

TextOffset SearchBackwards(const ui::LineSource& lines, std::string_view pattern,
                           std::size_t regionEnd, int flags, std::size_t stretch,
                           const platform::UpperCaseMap& casing) {
  std::size_t windowEnd = regionEnd;
  while (windowEnd > 0) {
    const std::size_t windowStart = windowEnd > stretch ? windowEnd - stretch : 0;
    const std::string text = lines.TextRange(windowStart, windowEnd - windowStart);
    // A start one past the window's length searches all of it.
    const TextOffset found =
        TextSearcher(text, casing).Search(pattern, static_cast<TextOffset>(text.size() + 1), flags);
    // A match at the window's start, when the text goes on before it, is judged by the next
    // window, which holds the character before it.
    if (found != kNotFound && (found > 0 || windowStart == 0))
      return static_cast<TextOffset>(windowStart + static_cast<std::size_t>(found));
    if (windowStart == 0)
      break;
    windowEnd = windowStart + pattern.size() + 1;
  }
  return kNotFound;
}

}  // namespace

TextOffset SearchLines(const ui::LineSource& lines, std::string_view pattern, TextOffset start,
                       int flags, std::size_t stretch) {
  const std::size_t length = lines.TextLength();
  if (length <= stretch || pattern.empty() || start < 0)
    return TextSearcher(lines.TextRange(0, length)).Search(pattern, start, flags);
  stretch = std::max(stretch, 2 * pattern.size() + 2);
  const platform::UpperCaseMap casing = platform::UserUpperCaseMap();
  if ((flags & kSearchBackwards) != 0) {
    const auto at = static_cast<std::size_t>(start);
    const std::size_t regionEnd = at == 0 || at > length ? length : at - 1;
    return SearchBackwards(lines, pattern, regionEnd, flags, stretch, casing);
  }
  return SearchForwards(lines, pattern, static_cast<std::size_t>(start), flags, stretch, casing);
}

}  // namespace brontel
