#include "viewer/ViewFinder.h"

#include <algorithm>

#include "plugin/TextSearcher.h"
#include "viewer/LineFilter.h"

namespace brontel {
namespace {

constexpr std::size_t kLineBreakSize = 2;

bool IsWordAt(std::string_view line, std::size_t column, std::size_t length) {
  const bool startsWord = column == 0 || IsWordDelimiter(line[column - 1]);
  const bool endsWord = column + length >= line.size() || IsWordDelimiter(line[column + length]);
  return startsWord && endsWord;
}

// The view's text is read this much at a time: a line at a time would cost a copy of each line
// (a complete view reads each from the file).
constexpr std::size_t kStretch = 256 << 10;

// The starts of the lines wholly inside `text` (each ended by its CR LF there), the first at
// `first`, and where the last of them ends; no line holds a CR LF of its own.
std::vector<std::size_t> WholeLineStarts(std::string_view text, std::size_t first) {
  std::vector<std::size_t> starts;
  std::size_t start = first;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos)
      break;
    starts.push_back(start);
    start = end + kLineBreakSize;
  }
  starts.push_back(start);
  return starts;
}

// Calls visit(line, text, start) for the lines [first, last] of the view, in turn (or from last
// down to first), until it answers true; answers whether it did. Lines are read a stretch of
// the view's text at a time, where no line holds a line break of its own.
template <typename Visit>
bool VisitLines(const ui::TRAHLEditor& view, std::size_t first, std::size_t last, bool forwards,
                Visit&& visit) {
  const ui::LineSource& lines = view.Lines();
  if (first > last)
    return false;
  std::size_t line = forwards ? first : last;
  for (;;) {
    // A stretch that starts (backwards: ends) at the line, and the lines wholly inside it.
    const std::size_t lineStart = lines.LineStart(line);
    const std::size_t lineEnd = lines.LineStart(line + 1);
    const std::size_t begin = forwards ? lineStart : lineEnd - std::min(lineEnd, kStretch);
    const std::string text = lines.TextRange(begin, forwards ? kStretch : lineEnd - begin);
    std::size_t firstWhole = 0;
    if (!forwards && lines.LineStart(lines.LineOf(begin)) != begin)
      firstWhole = text.find("\r\n") + kLineBreakSize;  // the end of a line begun before
    const std::vector<std::size_t> starts = WholeLineStarts(text, firstWhole);
    const std::size_t inside = starts.size() - 1;
    for (std::size_t k = 0; k < inside; ++k) {
      const std::size_t piece = forwards ? k : inside - 1 - k;
      const std::size_t at = forwards ? line + k : line - k;
      const std::string_view shown = std::string_view(text).substr(
          starts[piece], starts[piece + 1] - starts[piece] - kLineBreakSize);
      if (visit(at, shown, begin + starts[piece]))
        return true;
      if (forwards ? at == last : at == first)
        return false;
    }
    if (inside == 0 && visit(line, view.Line(line), lineStart))  // longer than a stretch
      return true;
    const std::size_t done = std::max<std::size_t>(inside, 1);
    if (forwards ? line + done > last : line < first + done)
      return false;
    line = forwards ? line + done : line - done;
  }
}

}  // namespace

bool ViewFinder::Set(const FindQuery& query, std::string& error) {
  std::unique_ptr<RegExpr> expression;
  if (query.expression) {
    expression =
        std::make_unique<RegExpr>(query.matchCase ? query.pattern : LowerAscii(query.pattern));
    if (!expression->program()) {
      error = expression->lastError();
      return false;
    }
  }
  query_ = query;
  expression_ = std::move(expression);
  lowerPattern_ = query.matchCase ? query.pattern : LowerAscii(query.pattern);
  required_ = expression_ ? RequiredLiterals(lowerPattern_) : RequiredTexts{};
  finders_.clear();
  for (const std::string& needed : required_.texts)
    finders_.emplace_back(needed, !query.matchCase);
  return true;
}

std::optional<std::pair<std::size_t, std::size_t>> ViewFinder::FindInLine(std::string_view line,
                                                                          std::size_t column) {
  if (query_.pattern.empty() || column > line.size())
    return std::nullopt;
  // A line without any of the texts every match holds is passed over without the engine; where
  // every alternative begins with its text, no match starts before the first of them.
  std::size_t from = column;
  if (!finders_.empty()) {
    std::size_t earliest = std::string_view::npos;
    for (const RegLiteralFinder& finder : finders_)
      earliest = std::min(earliest, finder.Find(line.substr(column)));
    if (earliest == std::string_view::npos)
      return std::nullopt;
    if (required_.leading)
      from = column + earliest;
  }
  // The engine reads a zero-terminated text; lower-casing both sides ignores case.
  subject_.assign(line);
  if (!query_.matchCase)
    subject_ = LowerAscii(subject_);
  if (expression_) {
    for (std::size_t at = from; at <= subject_.size(); ++at) {
      int length = 0;
      const int found = expression_->Match(subject_.c_str(), length, static_cast<int>(at));
      if (found < 0)
        return std::nullopt;
      if (length > 0)
        return std::make_pair(at + static_cast<std::size_t>(found),
                              static_cast<std::size_t>(length));
      at += static_cast<std::size_t>(found);  // an empty match: try one further on
    }
    return std::nullopt;
  }
  for (std::size_t at = subject_.find(lowerPattern_, column); at != std::string::npos;
       at = subject_.find(lowerPattern_, at + 1)) {
    if (!query_.wholeWords || IsWordAt(subject_, at, lowerPattern_.size()))
      return std::make_pair(at, lowerPattern_.size());
  }
  return std::nullopt;
}

std::optional<ViewMatch> ViewFinder::FindForwards(const ui::TRAHLEditor& view, std::size_t fromLine,
                                                  std::size_t fromColumn) {
  const std::size_t count = view.LineCount();
  std::optional<ViewMatch> match;
  const auto firstIn = [&](bool wrapped) {
    return [&, wrapped](std::size_t line, std::string_view text, std::size_t start) {
      const std::size_t column = line == fromLine && !wrapped ? fromColumn : 0;
      if (const auto hit = FindInLine(text, column))
        match = ViewMatch{start + hit->first, hit->second, wrapped};
      return match.has_value();
    };
  };
  if (!VisitLines(view, fromLine, count - 1, true, firstIn(false)))
    VisitLines(view, 0, fromLine, true, firstIn(true));
  return match;
}

std::optional<ViewMatch> ViewFinder::FindBackwards(const ui::TRAHLEditor& view,
                                                   std::size_t fromLine, std::size_t fromColumn) {
  const std::size_t count = view.LineCount();
  std::optional<ViewMatch> match;
  const auto lastIn = [&](bool wrapped) {
    return [&, wrapped](std::size_t line, std::string_view text, std::size_t start) {
      const std::size_t before = line == fromLine && !wrapped ? fromColumn : std::string_view::npos;
      for (auto hit = FindInLine(text, 0); hit && hit->first < before;
           hit = FindInLine(text, hit->first + 1))
        match = ViewMatch{start + hit->first, hit->second, wrapped};
      return match.has_value();
    };
  };
  if (!VisitLines(view, 0, fromLine, false, lastIn(false)))
    VisitLines(view, fromLine, count - 1, false, lastIn(true));
  return match;
}

std::optional<ViewMatch> ViewFinder::Find(const ui::TRAHLEditor& view, std::size_t from,
                                          bool forwards) {
  const std::size_t count = view.LineCount();
  if (count == 0 || query_.pattern.empty())
    return std::nullopt;
  const std::size_t line = view.Lines().LineOf(std::min(from, view.TextLength()));
  const std::size_t column = std::min(from - std::min(from, view.Lines().LineStart(line)),
                                      view.Line(line).size() + kLineBreakSize);
  return forwards ? FindForwards(view, line, column) : FindBackwards(view, line, column);
}

std::pair<std::size_t, std::size_t> ViewFinder::Count(const ui::TRAHLEditor& view,
                                                      std::size_t offset) {
  std::size_t total = 0;
  std::size_t number = 0;
  if (view.LineCount() == 0)
    return {0, 0};
  VisitLines(view, 0, view.LineCount() - 1, true,
             [&](std::size_t, std::string_view text, std::size_t start) {
               for (auto hit = FindInLine(text, 0); hit; hit = FindInLine(text, hit->first + 1)) {
                 ++total;
                 if (start + hit->first == offset)
                   number = total;
               }
               return false;
             });
  return {total, number};
}

}  // namespace brontel
