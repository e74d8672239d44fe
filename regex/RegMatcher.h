/** @file RegMatcher.h: runs a compiled program against one subject text. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "regex/RegFailureMemo.h"
#include "regex/RegProgram.h"

namespace brontel {

// A backtracking search over the nodes of a program: alternatives in their order, repetitions
// greedy, giving back one character at a time. It runs on a stack of its own on the heap, which
// holds only choices with a way left to try, and remembers the (node, position) states that
// failed, so no depth of repetition reaches the host's stack and a search takes at most about
// (program nodes x text length) steps.
//
// Errors: Execute never throws. A search that meets an error finds nothing, and the message
// replaces the text of the string given at construction (so that an error costs the search
// nothing until it happens); only a search that would need more than kSearchMemoryLimit bytes,
// or a damaged program, meets one.
//
// Threads: the working state of a search lives in the object, which one caller at a time may
// use; between searches it keeps a small stack for the next one.
class RegMatcher {
 public:
  // `lastError` receives the errors; it must outlive the matcher.
  explicit RegMatcher(std::string& lastError) : lastError_(lastError) {}
  RegMatcher(const RegMatcher&) = delete;
  RegMatcher& operator=(const RegMatcher&) = delete;

  // 1 when `program` matches somewhere in the zero-terminated `text`, 0 when it does not or on
  // an error. On success slot 0 of the program's groupStart/groupEnd spans the match and slots
  // 1..9 the last text each group matched. After a failure the slots are none, except where
  // the text lacked the must text, which leaves them as they were. Any block from
  // RegProgram::Allocate is safe to run, however damaged.
  int Execute(RegProgram* program, const char* text);

  static constexpr std::size_t kSearchMemoryLimit = std::size_t{64} << 20;

 private:
  // A pending choice: the alternative being tried, or the count a repetition is trying;
  // positions are offsets into the text. Group nodes leave none: their slots are found by
  // walking the path to End once more (SetGroupsFromPath).
  struct Frame {
    std::uint32_t position;
    std::uint16_t node;
    std::uint16_t aux;
  };

  int Search(RegProgram& program, const char* text);
  int SearchFromStartBytes(RegProgram& program, const char* text);
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

  std::string& lastError_;
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
