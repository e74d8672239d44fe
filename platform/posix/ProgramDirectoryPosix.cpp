#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/ProgramDirectory.h"

namespace brontel::platform {

std::string HostExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer)
    return {};
  return std::string(buffer, static_cast<size_t>(length));
}

std::string WritableProgramDirectory() {
  const char* config_home = std::getenv("XDG_CONFIG_HOME");
  if (config_home != nullptr && config_home[0] == '/') {
    return std::string(config_home) + "/brontel/";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0')
    return {};
  return std::string(home) + "/.config/brontel/";
}

bool EnsureDirectory(const std::string& directory) {
  struct stat info {};
  if (directory.empty())
    return false;
  if (::stat(directory.c_str(), &info) == 0)
    return S_ISDIR(info.st_mode);
  std::string trimmed = directory;
  while (trimmed.size() > 1 && trimmed.back() == '/')
    trimmed.pop_back();
  const size_t slash = trimmed.rfind('/');
  if (slash != std::string::npos && slash > 0 && !EnsureDirectory(trimmed.substr(0, slash))) {
    return false;
  }
  return ::mkdir(trimmed.c_str(), 0777) == 0 || errno == EEXIST;
}

char PathSeparator() {
  return '/';
}

}  // namespace brontel::platform
