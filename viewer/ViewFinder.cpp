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
  return true;
}

std::optional<std::pair<std::size_t, std::size_t>> ViewFinder::FindInLine(std::string_view line,
                                                                          std::size_t column) {
  if (query_.pattern.empty() || column > line.size())
    return std::nullopt;
  // The engine reads a zero-terminated text; lower-casing both sides ignores case.
  subject_.assign(line);
  if (!query_.matchCase)
    subject_ = LowerAscii(subject_);
  if (expression_) {
    for (std::size_t at = column; at <= subject_.size(); ++at) {
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
                                                  std::size_t fromColumn, std::size_t lines) {
  const std::size_t count = view.LineCount();
  for (std::size_t step = 0; step < lines && count > 0; ++step) {
    const std::size_t line = (fromLine + step) % count;
    const std::size_t column = step == 0 ? fromColumn : 0;
    if (const auto hit = FindInLine(view.Line(line), column)) {
      const bool wrapped = fromLine + step >= count;
      return ViewMatch{view.Lines().LineStart(line) + hit->first, hit->second, wrapped};
    }
  }
  return std::nullopt;
}

std::optional<ViewMatch> ViewFinder::LastBefore(const ui::TRAHLEditor& view, std::size_t line,
                                                std::size_t column) {
  std::optional<ViewMatch> last;
  const std::string_view text = view.Line(line);
  for (auto hit = FindInLine(text, 0); hit && hit->first < column;
       hit = FindInLine(text, hit->first + 1))
    last = ViewMatch{view.Lines().LineStart(line) + hit->first, hit->second, false};
  return last;
}

std::optional<ViewMatch> ViewFinder::Find(const ui::TRAHLEditor& view, std::size_t from,
                                          bool forwards) {
  const std::size_t count = view.LineCount();
  if (count == 0 || query_.pattern.empty())
    return std::nullopt;
  const std::size_t line = view.Lines().LineOf(std::min(from, view.TextLength()));
  const std::size_t column = std::min(from - std::min(from, view.Lines().LineStart(line)),
                                      view.Line(line).size() + kLineBreakSize);
  if (forwards)
    return FindForwards(view, line, column, count + 1);
  for (std::size_t step = 0; step <= count; ++step) {
    const std::size_t at = (line + count - step % count) % count;
    const std::size_t before = step == 0 ? column : std::string_view::npos;
    if (std::optional<ViewMatch> hit = LastBefore(view, at, before)) {
      hit->wrapped = step > line;
      return hit;
    }
  }
  return std::nullopt;
}

std::pair<std::size_t, std::size_t> ViewFinder::Count(const ui::TRAHLEditor& view,
                                                      std::size_t offset) {
  std::size_t total = 0;
  std::size_t number = 0;
  for (std::size_t line = 0; line < view.LineCount(); ++line) {
    const std::string_view text = view.Line(line);
    const std::size_t start = view.Lines().LineStart(line);
    for (auto hit = FindInLine(text, 0); hit; hit = FindInLine(text, hit->first + 1)) {
      ++total;
      if (start + hit->first == offset)
        number = total;
    }
  }
  return {total, number};
}

}  // namespace brontel
