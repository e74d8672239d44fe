#include <windows.h>

#include "platform/ProgramDirectory.h"

namespace brontel::platform {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// "C:", "C:\" and "\\server\share\" cannot be created, only found.
bool IsRootLike(const std::string& directory) {
  if (directory.size() <= 3 && directory.size() >= 2 && directory[1] == ':')
    return true;
  if (directory.size() < 2 || !IsSeparator(directory[0]) || !IsSeparator(directory[1]))
    return false;
  const std::size_t server_end = directory.find_first_of("\\/", 2);
  if (server_end == std::string::npos)
    return true;
  const std::size_t share_end = directory.find_first_of("\\/", server_end + 1);
  return share_end == std::string::npos || share_end + 1 >= directory.size();
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string HostExecutablePath() {
  // Paths may exceed MAX_PATH; a full buffer means the name was cut, so grow it and try again.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::string buffer(size, '\0');
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0)
      return {};
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
  }
  return {};
}

std::string WritableProgramDirectory() {
  const std::string executable = HostExecutablePath();
  const std::size_t separator = executable.find_last_of("\\/");
  if (separator == std::string::npos)
    return {};
  return executable.substr(0, separator + 1);
}

bool EnsureDirectory(const std::string& directory) {
  if (directory.empty())
    return false;
  if (IsDirectory(directory))
    return true;
  std::string trimmed = directory;
  while (trimmed.size() > 1 && IsSeparator(trimmed.back()))
    trimmed.pop_back();
  if (IsRootLike(trimmed))
    return IsDirectory(trimmed + '\\');
  const std::size_t separator = trimmed.find_last_of("\\/");
  if (separator != std::string::npos && separator > 0 &&
      !EnsureDirectory(trimmed.substr(0, separator + 1))) {
    return false;
  }
  return ::CreateDirectoryA(trimmed.c_str(), nullptr) != FALSE || IsDirectory(trimmed);
}

char PathSeparator() {
  return '\\';
}

}  // namespace brontel::platform
