/** @file LiteralTail.h: what a tail view and its history must hold, worked out the plain way. */
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "ui/NulBytes.h"
#include "ui/TRAHLEditor.h"
#include "viewer/LineHistory.h"
#include "viewer/TailText.h"

namespace brontel::testing {

using Lines = std::vector<std::string>;

// The tail lines of `text` that a load read from its start offset on: CR dropped, ending at a
// Ctrl-Z, cut into pieces that end after a line feed or at bufferSize - 1 bytes, each without
// its line feed, each NUL byte shown as the placeholder; the not-found line when nothing is
// left.
inline Lines LiteralLines(std::string_view rest, std::int32_t bufferSize) {
  rest = rest.substr(0, std::min(rest.size(), rest.find('\x1A')));
  std::string text;
  std::copy_if(rest.begin(), rest.end(), std::back_inserter(text),
               [](char c) { return c != '\r'; });
  const std::size_t limit = TailPieceLimit(bufferSize);
  Lines lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = std::min(text.size(), at + limit);
    const std::size_t feed = text.find('\n', at);
    if (feed != std::string::npos && feed < end)
      end = feed + 1;
    std::string piece = text.substr(at, end - at);
    if (piece.back() == '\n')
      piece.pop_back();
    std::replace(piece.begin(), piece.end(), '\0', ui::kNulPlaceholder);
    lines.push_back(piece);
    at = end;
  }
  if (lines.empty())
    lines.emplace_back(kNotFoundLine);
  return lines;
}

// The same for a whole file holding `bytes`: its last `bufferSize` bytes.
inline Lines LiteralTailLines(std::string_view bytes, std::int32_t bufferSize) {
  return LiteralLines(bytes.substr(TailStartOffset(bytes.size(), bufferSize)), bufferSize);
}

inline Lines ViewLines(const ui::TRAHLEditor& view) {
  Lines lines;
  for (std::size_t i = 0; i < view.LineCount(); ++i)
    lines.emplace_back(view.Line(i));
  return lines;
}

// The first row after the history block's separator (0 without one).
inline std::size_t BodyStart(const ui::TRAHLEditor& view) {
  for (std::size_t i = 0; i < view.LineCount(); ++i) {
    if (view.Line(i).find(", HistoryCount:") != std::string_view::npos)
      return i + 1;
  }
  return 0;
}

// The tail lines of a view, between the separator after `historyCount` lines and the footer,
// as the view keeps them (tabs widened).
inline Lines ShownTailLines(const ui::TRAHLEditor& view, std::size_t historyCount) {
  Lines lines;
  for (std::size_t i = historyCount + 1; i + 1 < view.LineCount(); ++i)
    lines.emplace_back(view.Line(i));
  return lines;
}

inline Lines HistoryLines(const LineHistory& history) {
  Lines lines;
  for (std::size_t i = 0; i < history.Count(); ++i)
    lines.emplace_back(history.Line(i));
  return lines;
}

// The history's addition done the plain way: join, search, trim, append.
struct LiteralHistory {
  Lines lines;
  std::int32_t maxLines = 1000;

  bool AddToHistory(const std::string& line) {
    std::string joined;
    for (const std::string& each : lines)
      joined += each + "\r\n";
    if (joined.find(line) != std::string::npos)
      return false;
    if (static_cast<std::int64_t>(lines.size()) > maxLines) {
      lines.erase(lines.begin());
      lines.push_back(line);
      return false;
    }
    lines.push_back(line);
    return true;
  }
};

}  // namespace brontel::testing
