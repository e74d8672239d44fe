#include <windows.h>

#include "platform/PlatformError.h"
#include "platform/StateFile.h"

namespace brontel::platform {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (Valid())
      ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

class WindowsFileLock final : public FileLock {
 public:
  explicit WindowsFileLock(HANDLE handle) : handle_(handle) {}
  ~WindowsFileLock() override {
    OVERLAPPED whole{};
    ::UnlockFileEx(handle_.get(), 0, 1, 0, &whole);
  }
  HANDLE get() const { return handle_.get(); }

 private:
  Handle handle_;
};

}  // namespace

std::string FileIdentityOf(const std::string& path) {
  Handle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file.Valid() || !::GetFileInformationByHandle(file.get(), &info))
    return {};
  const unsigned long long index =
      (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(index);
}

void ReplaceFileContents(const std::string& path, std::string_view contents) {
  const std::string temporary = path + ".tmp";
  Handle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid())
    throw LastOsError(temporary);
  bool written = true;
  while (written && !contents.empty()) {
    DWORD wrote = 0;
    const DWORD chunk = contents.size() > 1u << 30 ? 1u << 30 : static_cast<DWORD>(contents.size());
    written = ::WriteFile(file.get(), contents.data(), chunk, &wrote, nullptr) != 0 && wrote > 0;
    contents.remove_prefix(wrote);
  }
  written = written && ::FlushFileBuffers(file.get()) != 0;
  if (!file.Close() || !written ||
      !::MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const PlatformError error = LastOsError(path);
    ::DeleteFileA(temporary.c_str());
    throw error;
  }
}

bool MoveFileAside(const std::string& path, const std::string& aside) {
  return ::MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::unique_ptr<FileLock> TakeFileLock(const std::string& lockPath) {
  HANDLE handle = ::CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return nullptr;
  auto lock = std::make_unique<WindowsFileLock>(handle);
  for (int attempt = 0; attempt < 200; ++attempt) {
    OVERLAPPED whole{};
    if (::LockFileEx(lock->get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                     &whole))
      return lock;
    ::Sleep(10);
  }
  return nullptr;
}

}  // namespace brontel::platform
