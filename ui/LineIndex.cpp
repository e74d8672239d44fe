#include "ui/LineIndex.h"

#include <algorithm>

namespace brontel::ui {

void LineIndex::StartAt(std::uint64_t offset) {
  fileStart_ = fileEnd_ = offset;
}

void LineIndex::Clear() {
  *this = LineIndex();
}

void LineIndex::Add(std::uint32_t fileBytes, std::uint32_t textBytes) {
  const std::size_t k = count_ % kGroup;
  const std::int64_t delta = static_cast<std::int64_t>(textBytes) - fileBytes;
  if (k == 0) {
    groups_.push_back({fileEnd_, textEnd_, kIrregular, 0});
    openDelta_ = delta;
    openRegular_ = true;
  } else if (delta != openDelta_) {
    openRegular_ = false;
  }
  if (fileBytes >= kLongLine) {
    fileBytes_.push_back(kLongLine);
    longLines_.emplace_back(count_, fileBytes);
  } else {
    fileBytes_.push_back(static_cast<std::uint8_t>(fileBytes));
  }
  openText_[k] = textBytes;
  openFile_[k] = fileBytes;
  ++count_;
  fileEnd_ += fileBytes;
  textEnd_ += textBytes;
  if (k + 1 == kGroup)
    CloseGroup();
}

void LineIndex::CloseGroup() {
  Group& group = groups_.back();
  if (openRegular_) {
    group.textDelta = static_cast<std::int32_t>(openDelta_);
    return;
  }
  const std::size_t first = (groups_.size() - 1) * kGroup;
  group.textLengthsAt = static_cast<std::uint32_t>(textDeltas_.size() / kGroup);
  for (std::size_t k = 0; k < kGroup; ++k) {
    const std::int64_t biased = static_cast<std::int64_t>(openText_[k]) - openFile_[k] + kDeltaBias;
    if (biased >= 0 && biased < kLongDelta) {
      textDeltas_.push_back(static_cast<std::uint8_t>(biased));
    } else {
      textDeltas_.push_back(kLongDelta);
      longText_.emplace_back(first + k, openText_[k]);
    }
  }
}

std::uint32_t LineIndex::FileBytes(std::size_t i) const {
  if (fileBytes_[i] != kLongLine)
    return fileBytes_[i];
  const auto at = std::lower_bound(longLines_.begin(), longLines_.end(), i,
                                   [](const std::pair<std::size_t, std::uint32_t>& entry,
                                      std::size_t line) { return entry.first < line; });
  return at->second;
}

std::uint32_t LineIndex::TextBytes(std::size_t i) const {
  const std::size_t groupIndex = i / kGroup;
  const Group& group = groups_[groupIndex];
  if (groupIndex + 1 == groups_.size() && count_ % kGroup != 0)
    return openText_[i % kGroup];  // the group being filled
  if (group.textDelta != kIrregular)
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(FileBytes(i)) + group.textDelta);
  const std::uint8_t biased = textDeltas_[group.textLengthsAt * kGroup + i % kGroup];
  if (biased != kLongDelta)
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(FileBytes(i)) + biased -
                                      kDeltaBias);
  const auto at = std::lower_bound(longText_.begin(), longText_.end(), i,
                                   [](const std::pair<std::size_t, std::uint32_t>& entry,
                                      std::size_t line) { return entry.first < line; });
  return at->second;
}

std::uint64_t LineIndex::FileStart(std::size_t i) const {
  if (i >= count_)
    return fileEnd_;
  const std::size_t first = i / kGroup * kGroup;
  std::uint64_t start = groups_[i / kGroup].fileStart;
  for (std::size_t line = first; line < i; ++line)
    start += FileBytes(line);
  return start;
}

std::uint64_t LineIndex::TextStart(std::size_t i) const {
  if (i >= count_)
    return textEnd_;
  const std::size_t first = i / kGroup * kGroup;
  std::uint64_t start = groups_[i / kGroup].textStart;
  for (std::size_t line = first; line < i; ++line)
    start += TextBytes(line);
  return start;
}

std::size_t LineIndex::LineOfText(std::uint64_t offset) const {
  if (offset >= textEnd_)
    return count_ - 1;
  // The last group that starts at or before `offset`; the first starts at 0 or before.
  std::size_t low = 0;
  std::size_t high = groups_.size();
  while (high - low > 1) {
    const std::size_t middle = low + (high - low) / 2;
    if (groups_[middle].textStart <= offset)
      low = middle;
    else
      high = middle;
  }
  const std::size_t groupIndex = low;
  std::size_t line = groupIndex * kGroup;
  std::uint64_t start = groups_[groupIndex].textStart;
  for (;;) {
    const std::uint64_t next = start + TextBytes(line);
    if (offset < next || line + 1 == count_)
      return line;
    start = next;
    ++line;
  }
}

std::size_t LineIndex::MemoryBytes() const {
  return fileBytes_.MemoryBytes() + longLines_.capacity() * sizeof(longLines_[0]) +
         groups_.MemoryBytes() + textDeltas_.MemoryBytes() +
         longText_.capacity() * sizeof(longText_[0]) + sizeof(openText_) + sizeof(openFile_);
}

}  // namespace brontel::ui
