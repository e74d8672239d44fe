#include "ui/LineSource.h"

#include <algorithm>

namespace brontel::ui {

std::string LineSource::TextRange(std::size_t from, std::size_t count) const {
  std::string text;
  const std::size_t end = std::min(TextLength(), from + std::min(count, TextLength()));
  if (from >= end || Empty())
    return text;
  text.reserve(end - from);
  constexpr std::string_view kBreak = "\r\n";
  for (std::size_t line = LineOf(from); line < Count() && LineStart(line) < end; ++line) {
    const std::size_t start = LineStart(line);
    std::string full(Line(line));
    full.append(kBreak);
    const std::size_t skip = from > start ? from - start : 0;
    const std::size_t take = std::min(full.size(), end - start) - skip;
    text.append(full, skip, take);
  }
  return text;
}

}  // namespace brontel::ui
