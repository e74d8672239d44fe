#include "platform/LargePages.h"

namespace brontel::platform {

// Large pages on Windows need a privilege that users rarely hold and memory reserved for them
// from the start (VirtualAlloc with MEM_LARGE_PAGES): a buffer that exists already cannot
// switch, so neither function changes anything here.
void AdviseLargePages(void* /*data*/, std::size_t /*bytes*/) noexcept {}

std::size_t LargePageBlockSize(std::size_t bytes) noexcept {
  return bytes;
}

}  // namespace brontel::platform
