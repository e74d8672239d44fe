/** @file ChunkedArray.h: an array that grows by chunks, never by copying what it holds. */
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/LargeBlock.h"

namespace brontel::ui {

// An array of plain values appended at its end, for an index of millions of lines: it grows a
// chunk at a time (a large block each, platform::LargeBlock), so it is never copied into a
// buffer half again its size that would hold both at the peak, and its pages are large ones
// where the system has them. Until it holds a chunk's length it is a single buffer that doubles,
// so a small array takes little. Element i is at chunks_[i / kChunkLength][i % kChunkLength].
template <typename T, std::size_t kChunkBytes = std::size_t{2} << 20>
class ChunkedArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  // The most elements of T that fill at most kChunkBytes, a power of two.
  static constexpr std::size_t kChunkLength = std::bit_floor(kChunkBytes / sizeof(T));
  static_assert(kChunkLength >= 1);

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  void push_back(const T& value) {
    if (size_ == capacity_)
      Grow();
    chunks_[size_ / kChunkLength][size_ % kChunkLength] = value;
    ++size_;
  }

  // Drops the elements from `count` on; their memory stays for those appended next.
  // REQUIRES: count <= size().
  void truncate(std::size_t count) { size_ = count; }

  T& operator[](std::size_t i) { return chunks_[i / kChunkLength][i % kChunkLength]; }
  const T& operator[](std::size_t i) const { return chunks_[i / kChunkLength][i % kChunkLength]; }
  T& back() { return (*this)[size_ - 1]; }
  const T& back() const { return (*this)[size_ - 1]; }

  // Calls visit(T* first, count) for the runs of [first, last) that lie in one chunk each, in
  // turn: a walk over many elements pays for finding a chunk once per chunk.
  template <typename Visit>
  void ForEachRun(std::size_t first, std::size_t last, Visit&& visit) const {
    while (first < last) {
      const std::size_t offset = first % kChunkLength;
      const std::size_t count = std::min(last - first, kChunkLength - offset);
      visit(chunks_[first / kChunkLength] + offset, count);
      first += count;
    }
  }

  // Bytes taken, for the memory an index is reckoned to take.
  std::size_t MemoryBytes() const { return capacity_ * sizeof(T); }

 private:
  static constexpr std::size_t kFirstLength = std::max<std::size_t>(64 / sizeof(T), 4);

  // Room in both lists comes first: a failed allocation leaves the array as it was.
  void Grow() {
    chunks_.reserve(chunks_.size() + 1);
    blocks_.reserve(blocks_.size() + 1);
    if (capacity_ >= kChunkLength) {
      blocks_.emplace_back(kChunkLength * sizeof(T));
      chunks_.push_back(reinterpret_cast<T*>(blocks_.back().Data()));
      capacity_ += kChunkLength;
      return;
    }
    const std::size_t grown = std::min(kChunkLength, std::max(kFirstLength, 2 * capacity_));
    platform::LargeBlock block(grown * sizeof(T));
    if (size_ != 0)
      std::memcpy(block.Data(), chunks_[0], size_ * sizeof(T));
    blocks_.clear();
    blocks_.push_back(std::move(block));
    chunks_.assign(1, reinterpret_cast<T*>(blocks_.back().Data()));
    capacity_ = grown;
  }

  std::vector<platform::LargeBlock> blocks_;
  std::vector<T*> chunks_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace brontel::ui
