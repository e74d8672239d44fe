#include "ui/FileLines.h"

#include <algorithm>

#include "platform/LargePages.h"

namespace brontel::ui {

void FileLines::Grow(std::size_t start, std::size_t textSize) {
  constexpr std::size_t kSampleLines = 4096;
  constexpr std::size_t kEntry = sizeof(starts[0]);
  const std::size_t count = starts.size();
  // Small texts get lists their size; large ones lists that take the sample at first.
  std::size_t wanted = std::max(std::min(kSampleLines, textSize / 16 + 16), 2 * count);
  if (count >= kSampleLines && count < 2 * kSampleLines && start > 0) {
    // The lines so far, scaled to the whole text, with an eighth to spare.
    const double perByte = static_cast<double>(count) / static_cast<double>(start);
    const double estimate = perByte * static_cast<double>(textSize) * 1.125;
    wanted = std::max(wanted, static_cast<std::size_t>(std::min(estimate, 1e15)) + 64);
  }
  starts.reserve(platform::LargePageBlockSize(wanted * kEntry) / kEntry);
  tabHints.reserve(platform::LargePageBlockSize(starts.capacity()));
  platform::AdviseLargePages(starts.data(), starts.capacity() * kEntry);
  platform::AdviseLargePages(tabHints.data(), tabHints.capacity());
}

}  // namespace brontel::ui
