/** @file RegProgram.h: the byte format of a compiled regular expression and its header. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace brontel {

// Every node of a program starts with a 3-byte head: the node code, then the next-link offset,
// an unsigned 16-bit number stored high byte first (0: no next node). A LoopBack's next node
// lies offset bytes before the node, every other node's next node offset bytes after it. The
// operand, if any, follows the head: a zero-terminated string for Literal, InSet and NotInSet,
// a sequence of nodes for Alternative, StarSimple and PlusSimple.
enum class RegNode : std::uint8_t {
  End = 0,          // the match succeeds
  LineStart = 1,    // empty string at the start of the subject text
  LineEnd = 2,      // empty string at the end of the subject text
  AnyChar = 3,      // any one character
  InSet = 4,        // one character of the zero-terminated set
  NotInSet = 5,     // one character not in the zero-terminated set
  Alternative = 6,  // its operand, or else the next Alternative of the chain
  LoopBack = 7,     // empty string; its next link points backwards
  Literal = 8,      // exactly the zero-terminated text
  Empty = 9,        // empty string
  StarSimple = 10,  // zero or more of the one simple operand node, greedy
  PlusSimple = 11,  // one or more of the one simple operand node, greedy
};

inline constexpr std::uint8_t kRegSignature = 0x9C;
inline constexpr int kRegGroupSlots = 10;  // slot 0 is the whole match, 1..9 the groups
inline constexpr int kRegNodeHeadSize = 3;
// Programs of this many bytes or more cannot be addressed by 16-bit next links.
inline constexpr std::int32_t kRegProgramSizeLimit = 32767;

// GroupOpen n has code 20 + n and GroupClose n has code 30 + n, n = 1..9.
inline constexpr std::uint8_t kRegGroupOpenBase = 20;
inline constexpr std::uint8_t kRegGroupCloseBase = 30;

inline constexpr std::uint8_t RegCode(RegNode node) {
  return static_cast<std::uint8_t>(node);
}
inline constexpr bool IsGroupOpenCode(std::uint8_t code) {
  return code > kRegGroupOpenBase && code < kRegGroupOpenBase + kRegGroupSlots;
}
inline constexpr bool IsGroupCloseCode(std::uint8_t code) {
  return code > kRegGroupCloseBase && code < kRegGroupCloseBase + kRegGroupSlots;
}

inline std::uint16_t RegNextOffset(const std::uint8_t* node) {
  return static_cast<std::uint16_t>((node[1] << 8) | node[2]);
}

// The operand of a node begins right after its head.
inline const std::uint8_t* RegOperand(const std::uint8_t* node) {
  return node + kRegNodeHeadSize;
}

struct RegProgram;

// Frees a block made by RegProgram::Allocate.
struct RegProgramDeleter {
  void operator()(RegProgram* program) const noexcept;
};

// One compiled expression: header and program bytes in one allocated block. The group
// positions point into the subject text of the last search and are valid only while that text
// exists unchanged; nullptr means "none".
struct RegProgram {
  const char* groupStart[kRegGroupSlots];
  const char* groupEnd[kRegGroupSlots];
  std::uint8_t firstChar;  // if not 0: every match begins with this character
  std::uint8_t anchored;   // if not 0: every match begins at the start of the text
  const char* mustText;    // a zero-terminated literal inside the program that every match holds
  std::int32_t mustLength;

  // Further facts that let a search reject a text or stop early without changing any result.
  const char* requiredText;     // a literal inside the program that every match holds, or none
  std::int32_t requiredLength;  // 0 when there is no required text
  bool singleAttempt;           // if no match starts at the first position, none starts later
  // A literal inside the program that every match holds in some mix of ASCII letter cases (the
  // first of a group of alternatives that differ in letter case only), or none.
  const char* foldedText;
  std::int32_t foldedLength;  // 0 when there is no such text
  // If hasStartBytes: every match begins with a byte whose bit is set here (bit b % 8 of byte
  // b / 8), so that a search tries no other place.
  bool hasStartBytes;
  std::uint8_t startBytes[32];

  std::int32_t codeSize;  // number of program bytes in code()

  // The program: the signature byte followed by nodes. A few zero bytes follow the last one, so
  // that even a damaged program cannot lead a string scan out of the block.
  std::uint8_t* code() { return reinterpret_cast<std::uint8_t*>(this + 1); }
  const std::uint8_t* code() const { return reinterpret_cast<const std::uint8_t*>(this + 1); }

  using Owner = std::unique_ptr<RegProgram, RegProgramDeleter>;

  // A block for codeSize program bytes, all zero, with every header fact cleared and every group
  // slot none; nullptr when the memory cannot be had. Never throws.
  static Owner Allocate(std::int32_t codeSize) noexcept;
};

// Zero bytes that follow every program inside its block.
inline constexpr std::size_t kRegProgramGuardSize = 8;

}  // namespace brontel
