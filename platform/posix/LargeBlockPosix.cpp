#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/LargeBlock.h"

namespace brontel::platform {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

// Whole large pages, starting on one: a large page more is mapped, and what lies outside the
// aligned part is unmapped again. The hint asks for large pages as the block is first written.
char* LargeBlock::MapPages(std::size_t& bytes) {
  if (bytes > SIZE_MAX - 2 * kLargePage)
    throw std::bad_alloc();
  bytes = (bytes + kLargePage - 1) / kLargePage * kLargePage;
  void* const mapped = ::mmap(nullptr, bytes + kLargePage, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED)
    throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kLargePage - 1) / kLargePage * kLargePage;
  if (aligned > start)
    ::munmap(mapped, aligned - start);
  const std::uintptr_t end = start + bytes + kLargePage;
  if (end > aligned + bytes)
    ::munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
  char* const data = reinterpret_cast<char*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(data, bytes, MADV_HUGEPAGE);
#endif
  return data;
}

void LargeBlock::UnmapPages(char* data, std::size_t bytes) noexcept {
  ::munmap(data, bytes);
}

}  // namespace brontel::platform
