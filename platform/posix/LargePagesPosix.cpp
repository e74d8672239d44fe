#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

#include "platform/LargePages.h"

namespace brontel::platform {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

void AdviseLargePages(void* data, std::size_t bytes) noexcept {
#ifdef MADV_HUGEPAGE
  if (data == nullptr || bytes < kLargePage)
    return;
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (pageSize <= 0)
    return;
  // From the start of the first page: the buffer shares it with the allocator's bookkeeping,
  // and a range that began a page later would keep the first large page small. The hint
  // changes nothing of that page's contents.
  const auto page = static_cast<std::uintptr_t>(pageSize);
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = begin / page * page;
  const std::uintptr_t last = (begin + bytes) / page * page;
  if (last > first)
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

std::size_t LargePageBlockSize(std::size_t bytes) noexcept {
  // The C library maps a large block on its own, with a few bytes of bookkeeping in front, and
  // the system aligns a mapping whose length is a multiple of the large page to one: so the
  // block is sized to make the mapping such a multiple.
  constexpr std::size_t kBookkeeping = 64;
  if (bytes < kLargePage || bytes > std::numeric_limits<std::size_t>::max() - 2 * kLargePage)
    return bytes;
  return (bytes + kBookkeeping + kLargePage - 1) / kLargePage * kLargePage - kBookkeeping;
}

}  // namespace brontel::platform
