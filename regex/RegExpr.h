/** @file RegExpr.h: one compiled regular expression with its compiler and matcher. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "regex/RegFailureMemo.h"
#include "regex/RegProgram.h"

namespace brontel {

// One regular expression: the pattern text, its compiled program and the working state of the
// compiler and the matcher, so that distinct objects never share state.
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
  // The search runs on a stack of its own on the heap, so no depth of repetition reaches the
  // host's stack. The stack holds only choices with a way left to try (about 8 bytes each), and
  // a choice that failed at a position is never tried there again, so a search takes at most
  // about (program nodes x text length) steps. Only a search that would need more than
  // kSearchMemoryLimit bytes for its stack and its record of failed choices finds nothing and
  // says so in lastError().
  int Execute(RegProgram* program, const char* text);

  RegProgram* program() { return program_.get(); }
  const RegProgram* program() const { return program_.get(); }
  const std::string& pattern() const { return pattern_; }
  const std::string& lastError() const { return lastError_; }

  static constexpr std::size_t kSearchMemoryLimit = std::size_t{64} << 20;

 private:
  // Compiler.
  void Compile(const char* pattern);
  bool RunPass(const char* pattern, std::uint8_t* start, int& flags);
  void CollectHeaderFacts(int topFlags);
  void CollectSearchShortcuts();
  std::uint8_t* ParseExpression(bool group, int& flags);
  std::uint8_t* ParseBranch(int& flags);
  std::uint8_t* ParsePiece(int& flags);
  std::uint8_t* ParseAtom(int& flags);
  std::uint8_t* ParseSet();
  std::uint8_t* ParseLiteralRun(int& flags);
  void BuildRepetition(char op, std::uint8_t* operand, int operandFlags);
  bool InSizePass() const { return emitPos_ == &sizeSink_; }
  std::uint8_t* EmitNode(RegNode node) { return EmitNode(RegCode(node)); }
  std::uint8_t* EmitNode(std::uint8_t code);
  void EmitByte(std::uint8_t byte);
  void InsertNode(RegNode node, std::uint8_t* operand);
  void LinkChain(std::uint8_t* chain, const std::uint8_t* target);
  void LinkOperand(std::uint8_t* node, const std::uint8_t* target);
  std::uint8_t* CompilerNext(std::uint8_t* node) const;
  std::nullptr_t Fail(const char* message);

  // Matcher. A frame is a pending choice: the alternative being tried, or the count a
  // repetition is trying; positions are offsets into the text. Group nodes leave none: their
  // slots are found by walking the path to End once more (SetGroupsFromPath).
  struct Frame {
    std::uint32_t position;
    std::uint16_t node;
    std::uint16_t aux;
  };
  int Search(RegProgram& program, const char* text);
  bool Attempt(RegProgram& program, const char* start);
  bool Walk(const std::uint8_t* node);
  bool Backtrack(const std::uint8_t*& resume);
  const std::uint8_t* EnterAlternatives(const std::uint8_t* node);
  const std::uint8_t* ViableAlternative(const std::uint8_t* node) const;
  bool MayStartHere(const std::uint8_t* branch) const;
  bool EnterRepetition(const std::uint8_t* node, const std::uint8_t* next);
  bool RetryRepetition(const std::uint8_t*& resume);
  bool Push(Frame frame);
  bool GrowStack();
  bool NoteFailure(std::uint32_t node, std::uint32_t position);
  bool KnownToFail(std::uint32_t node, std::uint32_t position);
  void StartMemo();
  void SetGroupsFromPath(const char* start);
  bool StepNode(const std::uint8_t* node);
  std::ptrdiff_t CountRepetitions(const std::uint8_t* operand);
  const std::uint8_t* Next(const std::uint8_t* node) const;
  std::uint32_t Offset(const std::uint8_t* node) const {
    return static_cast<std::uint32_t>(node - codeBegin_);
  }
  std::uint32_t Position() const { return static_cast<std::uint32_t>(inputPos_ - textStart_); }
  void ClearGroups();
  void ReleaseLargeState();
  bool Abort(const char* message);

  RegProgram::Owner program_;
  std::string pattern_;
  std::string lastError_;
  const char* parsePos_ = nullptr;
  std::int32_t nextGroup_ = 1;
  std::uint8_t sizeSink_ = 0;
  std::uint8_t* emitPos_ = nullptr;
  std::int32_t programSize_ = 0;
  const char* inputPos_ = nullptr;
  const char* textStart_ = nullptr;
  const char** groupStarts_ = nullptr;
  const char** groupEnds_ = nullptr;

  // Bounds of the program being run and the limits of the current search.
  const std::uint8_t* codeBegin_ = nullptr;
  std::ptrdiff_t codeSize_ = 0;
  std::size_t textLength_ = 0;  // measured only when the memo starts
  std::int64_t steps_ = 0;
  bool aborted_ = false;
  bool passedGroup_ = false;  // a walk of the current attempt passed a group node
  std::vector<Frame> stack_;
  RegFailureMemo memo_;
};

}  // namespace brontel
