#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/PlatformError.h"
#include "platform/ReadOnlyFile.h"

namespace brontel::platform {
namespace {

class PosixReadOnlyFile final : public ReadOnlyFile {
 public:
  PosixReadOnlyFile(int descriptor, std::string path)
      : descriptor_(descriptor), path_(std::move(path)) {}
  ~PosixReadOnlyFile() override { ::close(descriptor_); }
  PosixReadOnlyFile(const PosixReadOnlyFile&) = delete;
  PosixReadOnlyFile& operator=(const PosixReadOnlyFile&) = delete;

  const std::string& Path() const override { return path_; }

  std::uint64_t Size() const override {
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0)
      throw LastOsError(path_);
    return static_cast<std::uint64_t>(info.st_size);
  }

  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) override {
    if (count == 0 || offset > static_cast<std::uint64_t>(INT64_MAX))
      return 0;
    for (;;) {
      const ssize_t got = ::pread(descriptor_, buffer, count, static_cast<off_t>(offset));
      if (got >= 0)
        return static_cast<std::size_t>(got);
      if (errno != EINTR)
        throw LastOsError(path_);
    }
  }

 private:
  int descriptor_;
  std::string path_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> OpenReadOnlyFile(const std::string& path) {
  // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0)
    throw LastOsError(path);
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) {
    const PlatformError error = LastOsError(path);
    ::close(descriptor);
    throw error;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(descriptor);
    throw PlatformError(path, "not a regular file");
  }
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags >= 0)
    ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  return std::make_unique<PosixReadOnlyFile>(descriptor, path);
}

}  // namespace brontel::platform
