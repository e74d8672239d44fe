#include "regex/RegFailureMemo.h"

#include <new>

namespace brontel {

void RegFailureMemo::Start(std::int32_t codeSize, std::size_t textLength) {
  Stop();
  rowOf_.assign(static_cast<std::size_t>(codeSize), 0);
  words_ = textLength / 64 + 1;
  bytes_ = rowOf_.size() * sizeof(std::uint16_t);
  active_ = true;
}

void RegFailureMemo::Stop() {
  active_ = false;
  rows_.clear();
  rows_.shrink_to_fit();
  rowOf_.clear();
  rowOf_.shrink_to_fit();
  bytes_ = 0;
}

bool RegFailureMemo::Record(std::uint32_t node, std::uint32_t position, std::size_t limitBytes) {
  std::uint16_t row = rowOf_[node];
  if (row == 0) {
    const std::size_t rowBytes = words_ * sizeof(std::uint64_t);
    if (bytes_ + rowBytes > limitBytes || rows_.size() >= 0xFFFE)
      return false;
    try {
      rows_.emplace_back(words_, 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    bytes_ += rowBytes;
    row = static_cast<std::uint16_t>(rows_.size());
    rowOf_[node] = row;
  }
  rows_[row - 1][position >> 6] |= std::uint64_t{1} << (position & 63);
  return true;
}

}  // namespace brontel
