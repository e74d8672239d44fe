#include <windows.h>

#include <limits>

#include "platform/PlatformError.h"
#include "platform/ReadOnlyFile.h"

namespace brontel::platform {
namespace {

class WindowsReadOnlyFile final : public ReadOnlyFile {
 public:
  WindowsReadOnlyFile(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  ~WindowsReadOnlyFile() override { ::CloseHandle(handle_); }
  WindowsReadOnlyFile(const WindowsReadOnlyFile&) = delete;
  WindowsReadOnlyFile& operator=(const WindowsReadOnlyFile&) = delete;

  const std::string& Path() const override { return path_; }

  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_, &size))
      throw LastOsError(path_);
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) override {
    if (count == 0)
      return 0;
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD wanted = count > std::numeric_limits<DWORD>::max() / 2
                             ? std::numeric_limits<DWORD>::max() / 2
                             : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!::ReadFile(handle_, buffer, wanted, &got, &position)) {
      if (::GetLastError() == ERROR_HANDLE_EOF)
        return 0;
      throw LastOsError(path_);
    }
    return got;
  }

 private:
  HANDLE handle_;
  std::string path_;
};

}  // namespace

std::unique_ptr<ReadOnlyFile> OpenReadOnlyFile(const std::string& path) {
  // Read and write sharing: the log's writer keeps writing while the viewer reads.
  const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    throw LastOsError(path);
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    throw PlatformError(path, "not a regular file");
  }
  return std::make_unique<WindowsReadOnlyFile>(handle, path);
}

}  // namespace brontel::platform
