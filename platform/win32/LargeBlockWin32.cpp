#include <windows.h>

#include <cstdint>
#include <new>

#include "platform/LargeBlock.h"

namespace brontel::platform {
namespace {

// What VirtualAlloc places a block on.
constexpr std::size_t kGranularity = std::size_t{64} << 10;

}  // namespace

// Committed pages of their own, given back whole when freed: a 32-bit process's address space
// is not left in pieces by blocks the heap keeps. Large pages need a privilege users rarely
// hold, so the pages are small ones.
char* LargeBlock::MapPages(std::size_t& bytes) {
  if (bytes > SIZE_MAX - kGranularity)
    throw std::bad_alloc();
  bytes = (bytes + kGranularity - 1) / kGranularity * kGranularity;
  void* const data = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (data == nullptr)
    throw std::bad_alloc();
  return static_cast<char*>(data);
}

void LargeBlock::UnmapPages(char* data, std::size_t /*bytes*/) noexcept {
  ::VirtualFree(data, 0, MEM_RELEASE);
}

}  // namespace brontel::platform
