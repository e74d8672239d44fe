/** @file BufferClassifier.h: the message types of all lines of one text buffer, in order. */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classify/LineClassifier.h"

namespace brontel {

// Classifies the lines of one buffer, front to back, with exactly the answers of
// LineClassifier::FindMsgType, organising the quick tests for the whole buffer instead of
// line by line: the first characters an expression allows become one table lookup per line,
// and each text an expression needs is found by one scan over the buffer whose hit serves every
// line up to it. Only the expressions a line passes these tests for are run on it.
//
// Lines must lie inside `text` and be asked about in ascending order of their starts.
// Ownership: `types` and `text` must outlive the object; the types are loaded on construction.
// Errors: as LineClassifier. Threads: the thread that owns `types`.
class BufferClassifier {
 public:
  BufferClassifier(LineClassifier& types, std::string_view text);

  // Needed texts are searched for this many bytes ahead at a time.
  static constexpr std::size_t kSearchStretch = 128 * 1024;

  int FindMsgType(std::string_view line);
  // As LineClassifier::CountLine.
  bool CountLine(std::string_view line) { return types_.CountType(FindMsgType(line)); }

 private:
  // Where a needed text next occurs at or after the line last asked about.
  struct Scan {
    std::string_view text;
    const char* next = nullptr;  // null: not looked for yet
    bool hit = false;            // an occurrence starts at next; else none starts before it
    bool FoundIn(std::string_view line, const char* bufferEnd);
  };
  // One expression of one type, in list order and then expression order.
  struct Slot {
    std::size_t type = 0;
    std::size_t expr = 0;
    std::vector<std::size_t> scans;
  };
  static constexpr std::size_t kMaxSlots = 64;

  bool Passes(const Slot& slot, std::string_view line);

  LineClassifier& types_;
  const char* bufferEnd_;
  bool lineByLine_ = false;  // too many expressions for the tables: classify as LineClassifier
  std::vector<Slot> slots_;
  std::vector<Scan> scans_;
  std::array<std::uint64_t, 256> slotsByFirst_{};  // the slots a line's first character allows
  std::string lineBuffer_;
};

}  // namespace brontel
