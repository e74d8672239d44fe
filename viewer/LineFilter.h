/** @file LineFilter.h: the compiled form of a view filter, asked line by line. */
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegExpr.h"
#include "regex/RegLiteralFinder.h"
#include "viewer/RequiredLiterals.h"
#include "viewer/ViewFilter.h"

namespace brontel {

class LineClassifier;

// A ViewFilter ready to answer for lines as read from the file (tabs not expanded). The type
// names are looked up in the classifier's list when the filter is set; the expression is
// compiled then. UI thread only: the expression keeps its search state.
class LineFilter {
 public:
  // Takes `filter` when its names and expression are good; otherwise keeps the filter it had
  // and answers why not: the engine's message for a bad expression, or the unknown type name.
  // The context is limited to 0 .. kMaxFilterContext.
  bool Set(const ViewFilter& filter, LineClassifier& types, std::string& error);

  const ViewFilter& Filter() const { return filter_; }
  bool Active() const { return filter_.Active(); }
  // Whether Passes asks for the line's type (the filter names types).
  bool NeedsTypes() const { return !typeAllowed_.empty(); }
  // Changes with every filter taken, so that a caller can tell when its answers went stale.
  unsigned Version() const { return version_; }

  // Whether `line` passes (always, without a filter).
  bool Passes(std::string_view line, LineClassifier& types);
  // The same for a line whose type position (or kUnclassified) is known already.
  bool Passes(std::string_view line, int typePosition);

  // The lines asked about until EndBuffer lie in `text`, in ascending order: each text the
  // expression needs is then found by one scan over the buffer whose hit serves every line up to
  // it, not by a search of each line (as BufferClassifier does for the types).
  void StartBuffer(std::string_view text);
  void EndBuffer() { buffer_ = {}; }

 private:
  bool MatchesExpression(std::string_view line);
  bool InBuffer(std::string_view line) const;
  // As EarliestOf for a line of the buffer.
  std::size_t EarliestInBuffer(std::string_view line);

  ViewFilter filter_;
  std::vector<bool> typeAllowed_;  // by position in the type list; empty: any type
  std::unique_ptr<RegExpr> expression_;
  RequiredTexts required_;            // a line without one of them cannot match
  std::string subject_;               // the line, zero-terminated (and lower-cased) for the engine
  std::string_view buffer_;           // see StartBuffer; empty when lines come one by one
  std::vector<const char*> nextHit_;  // by required text: where it next occurs in the buffer
  std::vector<RegLiteralFinder> finders_;  // by required text, searching by its rarest bytes
  const char* lastLine_ = nullptr;
  unsigned version_ = 0;
};

// The line lower-cased in ASCII, which is how a filter ignores case.
std::string LowerAscii(std::string_view text);

}  // namespace brontel
