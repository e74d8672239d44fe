/** @file MsgTypeMatcherInfo.h: one message type: its expressions, colours, name and count. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classify/SymbolColor.h"
#include "regex/RegExpr.h"
#include "regex/RegLiteralFinder.h"
#include "regex/RegLiteralSet.h"

namespace brontel {

// A line offered to the expressions of one or more types. The expression engine wants a
// zero-terminated text; the copy is made at most once per line, and only when some expression
// gets past its quick rejections, into a buffer that the caller owns and reuses from line to
// line (so classifying lines allocates nothing once the buffer has grown). The engine sees the
// line up to its first zero byte. Where the types share their text searches (ShareSearches),
// the subject also brings the shared set, and the line is scanned for all of its texts at once
// when the first expression asks. `line`, `buffer` and `sharedTexts` must outlive the subject.
class MatchSubject {
 public:
  MatchSubject(std::string_view line, std::string& buffer,
               const RegLiteralSet* sharedTexts = nullptr)
      : line_(line), buffer_(buffer), sharedTexts_(sharedTexts) {}

  std::string_view Line() const { return line_; }
  // The line as a zero-terminated text, valid while the buffer is not touched otherwise.
  const char* Text();

  const RegLiteralSet* SharedTexts() const { return sharedTexts_; }
  // Which texts of the shared set the line holds (RegLiteralSet::FoundIn); needs the set.
  std::uint64_t SharedTextsFound() {
    if (!scanned_) {
      found_ = sharedTexts_->FoundIn(line_);
      scanned_ = true;
    }
    return found_;
  }

 private:
  std::string_view line_;
  std::string& buffer_;
  const RegLiteralSet* sharedTexts_;
  bool copied_ = false;
  bool scanned_ = false;
  std::uint64_t found_;  // once scanned_: not set before, as most lines are never scanned
};

// One message type: a named class of log lines, recognised by regular expressions and shown
// in its own colours and style.
//
// Ownership: owns its colour and every compiled expression. Copying is deep: the expression
// texts are copied and compiled afresh into new RegExpr objects; colours, typeNo, count, name
// and shortName are copied. Moving hands the compiled expressions over without recompiling.
//
// Errors: an expression that does not compile stays in `compiled`, keeps its error text and
// never matches; nothing is reported. Nothing here throws except on memory exhaustion.
//
// Threads: matching uses the search state inside each RegExpr, so one type must not be matched
// by two threads at once.
class MsgTypeMatcherInfo {
 public:
  std::vector<std::string> exprTexts;
  // One entry per entry of exprTexts after CompileExprs, same order. Change it only through
  // CompileExprs: the quick rejections are derived from it there.
  std::vector<std::unique_ptr<RegExpr>> compiled;
  std::int32_t typeNo = 0;
  TSymbolColor color;
  std::int32_t count = 0;
  std::string name;
  std::string shortName;

  MsgTypeMatcherInfo() = default;
  MsgTypeMatcherInfo(const MsgTypeMatcherInfo& other);
  MsgTypeMatcherInfo& operator=(const MsgTypeMatcherInfo& other);
  MsgTypeMatcherInfo(MsgTypeMatcherInfo&& other) noexcept = default;
  MsgTypeMatcherInfo& operator=(MsgTypeMatcherInfo&& other) noexcept = default;
  ~MsgTypeMatcherInfo() = default;

  // Appends `text` to exprTexts; does not compile it.
  void AddExpr(std::string_view text);
  // Replaces `compiled` by one RegExpr per entry of exprTexts, in order.
  void CompileExprs();
  // True as soon as one compiled expression, tried in order, matches anywhere in the line
  // (searching from its first character); false when none does or there are none.
  bool MatchesLine(MatchSubject& subject);
  // The same, the searches answered by the subject's shared set where this type shares its
  // searches with that set (ShareSearches).
  bool MatchesLineSharing(MatchSubject& subject);
  // The same for a single line; copies the line into a temporary text when needed.
  bool MatchesLine(std::string_view line);

  // What every line that compiled expression `expr` matches is known to hold, for a caller that
  // tests many lines at once: all of it empty when nothing is known.
  struct LineNeeds {
    bool never = false;         // the expression matches no line at all
    std::string_view prefix;    // the line starts with this text
    std::string_view firstSet;  // if not empty: the line's first character is one of these
    std::string_view texts[3];  // the line holds each of these texts (empty: no such need)
  };
  LineNeeds NeedsOf(std::size_t expr) const;
  // Whether compiled expression `expr` alone matches the line (quick rejections, then search).
  bool ExprMatches(std::size_t expr, MatchSubject& subject);

  // Lets `texts` answer the text searches of the quick rejections for subjects that bring it,
  // so that a caller with several types scans each line once for all of their texts: the texts
  // each expression needs are added to the set, and an expression whose texts do not all fit
  // keeps its own searches. Null ends the sharing, and so does CompileExprs. `texts` must
  // outlive the sharing.
  void ShareSearches(RegLiteralSet* texts);

 private:
  // What a line must show before an expression is worth running. Views point into the
  // compiled program, which lives as long as its RegExpr.
  struct QuickReject {
    // Where one of the searches below is the only test: a copy of it, first, so that the common
    // case reads one cache line.
    bool soleSearch = false;
    RegLiteralFinder sole;
    bool neverMatches = false;   // the expression did not compile
    char firstChar = 0;          // if not 0: the line holds this character (kept in firstText)
    bool testFirstChar = false;  // false where a text is searched: it tells (nearly) all
    char firstText[2] = {};
    std::string_view prefix;     // the line starts with this text
    std::string_view firstSet;   // if not empty: the line's first character is one of these
    RegLiteralFinder required1;  // the line holds these texts
    RegLiteralFinder required2;
    bool testRequired2 = true;  // false where `folded` is the longer text: one search is enough
    RegLiteralFinder folded;    // the line holds this text in some mix of letter cases
    bool Rejects(std::string_view line) const;
    bool RejectsQuickly(std::string_view line) const {
      return soleSearch ? !sole.FoundIn(line) : Rejects(line);
    }
    int SearchedTexts(const RegLiteralFinder* (&searched)[3]) const;
  };
  static QuickReject QuickRejectFor(const RegExpr& expr);
  static void NoteSoleSearch(QuickReject& reject);
  static std::uint64_t SharedNeedsOf(const QuickReject& reject, RegLiteralSet& texts);
  void DeriveQuickRejects();
  bool Rejects(std::size_t expr, MatchSubject& subject, bool shared) const {
    if (shared && sharedNeeds_[expr] != 0)
      return (sharedNeeds_[expr] & ~subject.SharedTextsFound()) != 0;
    return rejects_[expr].RejectsQuickly(subject.Line());
  }

  std::vector<QuickReject> rejects_;
  // While sharing: per expression, the bits in sharedTexts_ of all the texts its quick
  // rejection needs, or 0 where it keeps its own tests.
  const RegLiteralSet* sharedTexts_ = nullptr;
  std::vector<std::uint64_t> sharedNeeds_;
};

}  // namespace brontel
