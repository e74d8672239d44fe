/** @file RegLiteralSet.h: which of several literals a text holds, found in one pass over it. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "regex/RegLiteralFinder.h"

namespace brontel {

// Answers for up to 64 literals at once which of them a text holds, such as the texts that the
// expressions of all message types need, at a cost close to that of one literal search.
//
// Each literal is known by a window of three of its bytes, the rarest in log text, and belongs
// to one of eight groups. For sixteen places of the text at a time, two table lookups per byte
// of the window (one for its low four bits, one for its high four) give the groups whose
// windows may start there; only those places are compared with the group's literals. Where the
// processor has no such lookup (x86 before SSSE3, other processors), and for literals shorter
// than a window, each literal is searched on its own (RegLiteralFinder). The way changes the
// cost only, never the answer.
//
// Ownership: the literals are copied. Errors: nothing throws except on memory exhaustion.
// Threads: answering does not change the set; adding must not overlap with answering.
class RegLiteralSet {
 public:
  static constexpr std::size_t kMaxLiterals = 64;
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kWindow = 3;  // the bytes a literal is known by

  RegLiteralSet() = default;
  // The finders view the set's own copies of the literals.
  RegLiteralSet(const RegLiteralSet&) = delete;
  RegLiteralSet& operator=(const RegLiteralSet&) = delete;

  // The index of `literal`: that of an equal one added before (with the same letter case
  // rule), else the next, in the order of adding. kNone for the empty literal, which every text
  // holds, and once the set holds kMaxLiterals.
  std::size_t Add(std::string_view literal, bool ignoreCase = false);

  std::size_t size() const { return finders_.size(); }
  std::string_view literal(std::size_t index) const { return finders_[index].literal(); }

  // Bit i set when `text` holds literal i (ignoring ASCII letter case where it was added so);
  // zero bytes in `text` are bytes like any other.
  std::uint64_t FoundIn(std::string_view text) const;

 private:
  static constexpr std::size_t kGroups = 8;

  // Which low and high four-bit halves each byte of a group's windows may have, a bit each.
  struct GroupHalves {
    std::uint16_t low[kWindow] = {};
    std::uint16_t high[kWindow] = {};
    bool empty = true;
  };

  static std::size_t WindowPlace(std::string_view literal, bool ignoreCase);
  static GroupHalves WithWindow(GroupHalves group, std::string_view window, bool ignoreCase);
  static std::uint64_t WindowsTaken(const GroupHalves& group);
  std::size_t GroupFor(std::string_view window, bool ignoreCase) const;
  void AddToGroup(std::size_t index);
  void FillTables();
  std::uint64_t SearchEach(std::uint64_t members, std::string_view text) const;
  std::uint64_t ScanWindows(std::string_view text) const;
  std::uint64_t CheckPlaces(std::string_view text, std::size_t at, std::uint32_t places,
                            const unsigned char (&groups)[16], std::uint64_t found) const;
  bool HoldsAt(std::size_t index, std::string_view text, std::size_t start) const;

  std::deque<std::string> texts_;  // a deque: adding never moves the bytes the finders view
  std::vector<RegLiteralFinder> finders_;
  std::vector<std::size_t> windowAt_;  // the place of each literal's window in it
  std::uint64_t alone_ = 0;            // literals searched on their own
  std::uint64_t windowed_ = 0;         // literals found by their windows
  GroupHalves groups_[kGroups];
  std::uint64_t groupMembers_[kGroups] = {};
  // Per window byte: for each value of the low (then high) half, the groups that allow it.
  alignas(16) unsigned char lowTables_[kWindow][16] = {};
  alignas(16) unsigned char highTables_[kWindow][16] = {};
};

}  // namespace brontel
