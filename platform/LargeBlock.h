/** @file LargeBlock.h: memory for a large buffer, on large pages where the system has them. */
#pragma once

#include <cstddef>

namespace brontel::platform {

// A block of memory, its contents undefined until written, for a buffer that grows by blocks
// rather than by copies (an index, the last lines of a file). A block of a megabyte or more has
// pages of its own from the system, given back when it is destroyed; where the system has large
// pages it lies on whole ones and its size is rounded up to them, so filling it costs a page
// fault per large page, not one per small page (faults that otherwise cost more than reading
// the file). Smaller blocks come from the heap.
//
// Errors: throws std::bad_alloc when the memory cannot be had. Threads: a block is a buffer
// like any other; making and freeing blocks is safe from any thread.
class LargeBlock {
 public:
  LargeBlock() = default;
  explicit LargeBlock(std::size_t bytes);
  ~LargeBlock();
  LargeBlock(LargeBlock&& other) noexcept;
  LargeBlock& operator=(LargeBlock&& other) noexcept;
  LargeBlock(const LargeBlock&) = delete;
  LargeBlock& operator=(const LargeBlock&) = delete;

  char* Data() const { return data_; }
  // At least the bytes asked for.
  std::size_t Size() const { return size_; }

 private:
  // Pages from the system for at least `bytes` (rounded up to what is mapped), or bad_alloc.
  static char* MapPages(std::size_t& bytes);
  static void UnmapPages(char* data, std::size_t bytes) noexcept;
  void Release() noexcept;

  char* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;  // from the system itself, not the heap
};

}  // namespace brontel::platform
