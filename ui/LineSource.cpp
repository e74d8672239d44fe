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
  // The part of `piece`, which starts at `at` in the text, that lies in [from, end).
  const auto append = [&](std::string_view piece, std::size_t at) {
    const std::size_t skip = from > at ? std::min(from - at, piece.size()) : 0;
    const std::size_t stop = std::min(piece.size(), end > at ? end - at : 0);
    if (stop > skip)
      text.append(piece.substr(skip, stop - skip));
  };
  for (std::size_t line = LineOf(from); line < Count(); ++line) {
    const std::size_t start = LineStart(line);
    if (start >= end)
      break;
    const std::string_view shown = Line(line);
    append(shown, start);
    append(kBreak, start + shown.size());
  }
  return text;
}

}  // namespace brontel::ui
