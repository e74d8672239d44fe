/** @file LargePages.h: asking the system for large pages under a buffer about to be filled. */
#pragma once

#include <cstddef>

namespace brontel::platform {

// Asks the system to back the whole pages of [data, data + bytes) with large pages where it
// can, as they are first written. Filling a buffer of hundreds of megabytes otherwise costs a
// page fault per small page, which costs more than reading the bytes into it. A hint only:
// the contents stay as they are, buffers below one large page are left alone, and on a system
// without the hint nothing happens. Never fails.
void AdviseLargePages(void* data, std::size_t bytes) noexcept;

// The size to allocate instead of `bytes` (never less) so that the block can lie on whole large
// pages: a large block's start is otherwise placed anywhere, and the pages before the first
// large-page boundary stay small. Small sizes come back unchanged.
std::size_t LargePageBlockSize(std::size_t bytes) noexcept;

}  // namespace brontel::platform
