#include "viewer/FileInfo.h"

#include "platform/FileFacts.h"

namespace brontel {

bool ReadFileInfo(const std::string& path, fileInfo& info) {
  const std::optional<platform::FileFacts> facts = platform::FindFileFacts(path);
  if (!facts)
    return false;
  info.path = path;
  info.age = platform::FileAge(path);
  info.sizeHigh = static_cast<std::uint32_t>(facts->size >> 32);
  info.sizeLow = static_cast<std::uint32_t>(facts->size);
  info.lastWriteLow = static_cast<std::uint32_t>(facts->lastWrite);
  info.lastWriteHigh = static_cast<std::uint32_t>(facts->lastWrite >> 32);
  return true;
}

bool SameFileInfo(const fileInfo& a, const fileInfo& b) {
  return a.path == b.path && a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
         a.lastWriteLow == b.lastWriteLow && a.lastWriteHigh == b.lastWriteHigh;
}

}  // namespace brontel
