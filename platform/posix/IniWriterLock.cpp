#include "platform/posix/IniWriterLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/IniFile.h"
#include "platform/PlatformError.h"

namespace brontel::platform {
namespace {

constexpr unsigned kLockPollMs = 5;

bool IsStaleTemporaryName(std::string_view name, std::string_view base) {
  const std::string prefix = "." + std::string(base) + ".";
  constexpr std::string_view kSuffix = ".tmp";
  if (name.size() <= prefix.size() + kSuffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(kSuffix)) {
    return false;
  }
  const std::string_view digits =
      name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
  return digits.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string IniDirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string IniBaseNameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

IniWriterLock::IniWriterLock(const std::string& targetPath) {
  const std::string lockPath =
      IniDirectoryOf(targetPath) + "/." + IniBaseNameOf(targetPath) + ".lock";
  fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd_ < 0)
    fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0)
    return;
  for (unsigned waited = 0; ::flock(fd_, LOCK_EX | LOCK_NB) != 0; waited += kLockPollMs) {
    if (errno != EWOULDBLOCK && errno != EINTR)
      return;  // no locks here: the write goes on alone
    if (waited >= kIniLockWaitMs) {
      ::close(fd_);
      fd_ = -1;
      throw PlatformError(targetPath, "another writer holds its lock for too long");
    }
    ::usleep(kLockPollMs * 1000);
  }
  held_ = true;
}

IniWriterLock::~IniWriterLock() {
  if (fd_ >= 0)
    ::close(fd_);  // releases the lock
}

void RemoveStaleIniTemporaries(const std::string& targetPath) {
  const std::string directory = IniDirectoryOf(targetPath);
  const std::string base = IniBaseNameOf(targetPath);
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr)
    return;
  while (const dirent* entry = ::readdir(listing)) {
    if (IsStaleTemporaryName(entry->d_name, base))
      ::unlinkat(::dirfd(listing), entry->d_name, 0);
  }
  ::closedir(listing);
}

}  // namespace brontel::platform
