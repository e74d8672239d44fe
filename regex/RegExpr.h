/** @file RegExpr.h: one compiled regular expression and the matcher that runs it. */
#pragma once

#include <cstddef>
#include <string>

#include "regex/RegMatcher.h"
#include "regex/RegProgram.h"

namespace brontel {

// One regular expression: the pattern text, its compiled program (made by RegCompiler) and the
// working state of its own matcher, so that distinct objects never share state.
//
// Syntax: alternatives a|b, groups ( ) (at most 9, numbered by their opening parenthesis),
// greedy x* x+ x?, "." any character, "^" and "$" the start and end of the whole subject text,
// [set] and [^set] with ranges a-b, \c for the character c itself. Matching is case-sensitive on
// 8-bit characters of one zero-terminated text; the zero byte is never matched.
//
// Errors: construction never throws. A pattern that does not compile leaves program() null and
// the reason in lastError(); such an object never matches. Every error of the compiler or of a
// search replaces lastError(); nothing else reports it.
//
// Threads: an object keeps its search state inside itself, so one object must not be used by
// two callers at once; distinct objects may be used at the same time.
class RegExpr {
 public:
  // Compiles `pattern`, read up to its first zero byte; nullptr is reported as "NULL argument".
  explicit RegExpr(const char* pattern);
  explicit RegExpr(const std::string& pattern);
  ~RegExpr();

  RegExpr(const RegExpr&) = delete;
  RegExpr& operator=(const RegExpr&) = delete;

  // Searches the zero-terminated `text` from text + offset. Returns the start of the first match
  // relative to text + offset and sets `length` to its length, or returns -1 and leaves `length`
  // unchanged. An offset outside the text is reported as an error and finds nothing.
  int Match(const char* text, int& length, int offset = 0);

  // The search itself: 1 when `program` matches somewhere in `text`, 0 when it does not or on
  // an error. On success slot 0 of the program's groupStart/groupEnd spans the match and slots
  // 1..9 the last text each group matched (none if it took no part). `program` is normally
  // this object's own; any block from RegProgram::Allocate is safe to run, however damaged (one
  // larger than the compiler ever makes is refused as "corrupted program").
  // No depth of repetition reaches the host's stack and a search takes at most about (program
  // nodes x text length) steps (see RegMatcher). Only a search that would need more than
  // kSearchMemoryLimit bytes for its stack and its record of failed choices finds nothing and
  // says so in lastError().
  int Execute(RegProgram* program, const char* text) { return matcher_.Execute(program, text); }

  RegProgram* program() { return program_.get(); }
  const RegProgram* program() const { return program_.get(); }
  const std::string& pattern() const { return pattern_; }
  const std::string& lastError() const { return lastError_; }

  static constexpr std::size_t kSearchMemoryLimit = RegMatcher::kSearchMemoryLimit;

 private:
  void Compile(const char* pattern);
  int RejectOffset();

  RegProgram::Owner program_;
  std::string pattern_;
  std::string lastError_;
  RegMatcher matcher_{lastError_};  // after lastError_, which it reports to
};

}  // namespace brontel
