/** @file RegFailureMemo.h: the (node, text position) states a search already saw fail. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brontel {

// The expressions have no back-references, so whether the program can reach End from a node at
// a text position does not depend on how the search got there. Once such a state has failed it
// fails every time, and the search need not try it again. One row of bits per program node that
// ever failed, one bit per text position; rows are made on first use.
class RegFailureMemo {
 public:
  // Forgets every state and prepares rows for positions 0..textLength of a program of
  // codeSize bytes.
  void Start(std::int32_t codeSize, std::size_t textLength);
  // Forgets every state and gives back the memory of a large search.
  void Stop();

  bool active() const { return active_; }
  bool Failed(std::uint32_t node, std::uint32_t position) const {
    const std::uint16_t row = rowOf_[node];
    return row != 0 && (rows_[row - 1][position >> 6] >> (position & 63) & 1) != 0;
  }
  // Notes the failure of a state; false when a new row would take the memory past `limitBytes`.
  bool Record(std::uint32_t node, std::uint32_t position, std::size_t limitBytes);

  std::size_t bytes() const { return bytes_; }

 private:
  bool active_ = false;
  std::vector<std::uint16_t> rowOf_;  // row number + 1 per program byte, 0 for none yet
  std::vector<std::vector<std::uint64_t>> rows_;
  std::size_t words_ = 0;
  std::size_t bytes_ = 0;
};

}  // namespace brontel
