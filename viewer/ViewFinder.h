/** @file ViewFinder.h: finding a text or an expression in the lines a text view shows. */
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegExpr.h"
#include "regex/RegLiteralFinder.h"
#include "ui/TRAHLEditor.h"
#include "viewer/RequiredLiterals.h"

namespace brontel {

// What the user looks for.
struct FindQuery {
  std::string pattern;
  bool expression = false;  // the pattern is an expression in the engine's syntax
  bool matchCase = false;
  bool wholeWords = false;  // for a plain text: the match is a word of its own
};

// A match in the view's whole text (lines each followed by CR LF): where it starts, how long it
// is, and whether the search went round the end (or the start) of the text to find it.
struct ViewMatch {
  std::size_t offset = 0;
  std::size_t length = 0;
  bool wrapped = false;
};

// Finds a query in a view line by line: an expression matches inside one line (its "^" and "$"
// are the line's start and end), a text never spans a line end. Empty matches are passed over.
// UI thread only: the expression keeps its search state.
class ViewFinder {
 public:
  // Takes the query; false with the engine's message when its expression does not compile (the
  // query before stays).
  bool Set(const FindQuery& query, std::string& error);
  const FindQuery& Query() const { return query_; }

  // The first match that starts at or after `from` (forwards) or the last one that starts before
  // it (backwards), going round the text once; nullopt when the view holds none. Matches are
  // told apart by where they start, so overlapping ones are found one after the other.
  std::optional<ViewMatch> Find(const ui::TRAHLEditor& view, std::size_t from, bool forwards);
  // The first match in `line` at or after `column`, as (column, length); nullopt without one.
  std::optional<std::pair<std::size_t, std::size_t>> FindInLine(std::string_view line,
                                                                std::size_t column);
  // How many matches the view holds, and the number (from 1) of the one starting at `offset`
  // (0 when none starts there).
  std::pair<std::size_t, std::size_t> Count(const ui::TRAHLEditor& view, std::size_t offset);

 private:
  // From `fromColumn` of `fromLine` on, round the end of the text back to that line.
  std::optional<ViewMatch> FindForwards(const ui::TRAHLEditor& view, std::size_t fromLine,
                                        std::size_t fromColumn);
  // The last match before `fromColumn` of `fromLine`, round the start of the text back to it.
  std::optional<ViewMatch> FindBackwards(const ui::TRAHLEditor& view, std::size_t fromLine,
                                         std::size_t fromColumn);

  FindQuery query_;
  std::unique_ptr<RegExpr> expression_;
  std::string lowerPattern_;
  std::string subject_;
  RequiredTexts required_;                 // of the expression: a line without one cannot match
  std::vector<RegLiteralFinder> finders_;  // by required text
};

}  // namespace brontel
