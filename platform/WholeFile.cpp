#include "platform/WholeFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/PlatformError.h"
#include "platform/ReadOnlyFile.h"
#include "platform/TextFileReader.h"

namespace brontel::platform {

namespace {

// The size of `file` as a buffer length. A file larger than the process can address (a 32-bit
// process and a file of gigabytes) is refused: cutting its size would read a part of it and
// pass that for the whole.
std::size_t AddressableSize(const ReadOnlyFile& file, std::size_t capacity) {
  const std::uint64_t size = file.Size();
  const std::uint64_t most = std::string().max_size() - kTextFileGrowthLimit;
  if (size > most || capacity > most)
    throw PlatformError(file.Path(), "is too large to load whole in this process (" +
                                         std::to_string(size / (1024 * 1024)) + " MB)");
  return static_cast<std::size_t>(size);
}

}  // namespace

std::string ReadAllOf(ReadOnlyFile& file, std::size_t capacity) {
  constexpr std::size_t kReadStep = 64 * 1024;
  const std::size_t size = AddressableSize(file, capacity);
  const std::size_t limit = size + static_cast<std::size_t>(kTextFileGrowthLimit);
  std::string content;
  try {
    content.reserve(std::max(capacity, size));
    content.resize(size);
  } catch (const std::bad_alloc&) {
    throw PlatformError(file.Path(), "does not fit into the memory left to load it whole (" +
                                         std::to_string(size / (1024 * 1024)) + " MB)");
  }
  std::size_t filled = 0;
  while (filled < limit) {
    if (filled == content.size())
      content.resize(std::min(content.size() + kReadStep, limit));  // the file grew since
    const std::size_t got = file.ReadAt(filled, content.data() + filled, content.size() - filled);
    if (got == 0)
      break;
    filled += got;
  }
  content.resize(filled);
  return content;
}

std::string ReadWholeFile(const std::string& path) {
  const std::unique_ptr<ReadOnlyFile> file = OpenReadOnlyFile(path);
  return ReadAllOf(*file);
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  const void* nul = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
  if (nul != nullptr) {
    text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
      ++start;
    }
  }
  return lines;
}

std::vector<std::string_view> LineViewsOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, stop - start));
    start = stop + 1;
    if (text[stop] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

}  // namespace brontel::platform
