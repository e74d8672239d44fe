#include "platform/MemoryFile.h"

#include <algorithm>
#include <cstring>

namespace brontel::platform {

MemoryFile::MemoryFile(std::string content, std::string path)
    : content_(std::move(content)), path_(std::move(path)) {}

std::uint64_t MemoryFile::Size() const {
  return reportedSize_ != 0 ? reportedSize_ : content_.size();
}

std::size_t MemoryFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t count) {
  if (offset >= content_.size())
    return 0;
  const std::size_t start = static_cast<std::size_t>(offset);
  const std::size_t length = std::min(count, content_.size() - start);
  std::memcpy(buffer, content_.data() + start, length);
  return length;
}

}  // namespace brontel::platform
