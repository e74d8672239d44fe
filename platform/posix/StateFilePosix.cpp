#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/PlatformError.h"
#include "platform/StateFile.h"

namespace brontel::platform {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd);
  }

 private:
  int fd_;
};

void WriteAll(int fd, std::string_view contents, const std::string& path) {
  while (!contents.empty()) {
    const ssize_t wrote = ::write(fd, contents.data(), contents.size());
    if (wrote < 0 && errno == EINTR)
      continue;
    if (wrote <= 0)
      throw LastOsError(path);
    contents.remove_prefix(static_cast<std::size_t>(wrote));
  }
}

class PosixFileLock final : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { ::flock(fd_.get(), LOCK_UN); }

 private:
  Descriptor fd_;
};

}  // namespace

std::string FileIdentityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    return {};
  return std::to_string(static_cast<unsigned long long>(info.st_dev)) + ":" +
         std::to_string(static_cast<unsigned long long>(info.st_ino));
}

void ReplaceFileContents(const std::string& path, std::string_view contents) {
  const std::string temporary = path + ".tmp";
  Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0)
    throw LastOsError(temporary);
  try {
    WriteAll(fd.get(), contents, temporary);
    if (::fsync(fd.get()) != 0 || fd.Release() != 0)
      throw LastOsError(temporary);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
      throw LastOsError(path);
  } catch (const PlatformError&) {
    ::unlink(temporary.c_str());
    throw;
  }
}

bool MoveFileAside(const std::string& path, const std::string& aside) {
  return ::rename(path.c_str(), aside.c_str()) == 0;
}

std::unique_ptr<FileLock> TakeFileLock(const std::string& lockPath) {
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    return nullptr;
  auto lock = std::make_unique<PosixFileLock>(fd);
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
      return lock;
    if (errno != EWOULDBLOCK && errno != EINTR)
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return nullptr;
}

}  // namespace brontel::platform
