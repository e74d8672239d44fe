// Directory watching on Windows: a change notification handle for the changes, a manual-reset
// event as the stop signal, WaitForMultipleObjects to wait for either. The change classes are
// the notification filter values themselves.

#include <windows.h>

#include "platform/DirectoryChanges.h"
#include "platform/PlatformError.h"

namespace brontel::platform {

namespace {

HANDLE EventOf(const StopSignal& stop) {
  return reinterpret_cast<HANDLE>(stop.NativeHandle());
}

class NotificationChanges final : public DirectoryChanges {
 public:
  NotificationChanges(const std::string& directory, bool subtree, std::uint32_t classes,
                      const StopSignal& stop)
      : stop_(stop) {
    if (!stop.Usable())
      throw PlatformError(directory, "no wake-up object for the watch");
    handle_ = ::FindFirstChangeNotificationA(directory.c_str(), subtree ? TRUE : FALSE,
                                             static_cast<DWORD>(classes));
    if (handle_ == INVALID_HANDLE_VALUE) {
      throw LastOsError(directory);
    }
  }

  ~NotificationChanges() override { ::FindCloseChangeNotification(handle_); }

  WaitResult Wait(std::uint32_t timeoutMs) override {
    if (stop_.IsRaised())
      return WaitResult::kStopped;
    const HANDLE handles[2] = {EventOf(stop_), handle_};
    const DWORD timeout = timeoutMs == kWaitWithoutLimit ? INFINITE : timeoutMs;
    switch (::WaitForMultipleObjects(2, handles, FALSE, timeout)) {
      case WAIT_OBJECT_0:
        return WaitResult::kStopped;
      case WAIT_OBJECT_0 + 1:
        return WaitResult::kSignalled;
      case WAIT_TIMEOUT:
        return WaitResult::kTimedOut;
      default:
        return WaitResult::kFailed;
    }
  }

  bool Rearm() override { return ::FindNextChangeNotification(handle_) != FALSE; }

 private:
  const StopSignal& stop_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class Win32DirectoryChangeSource final : public DirectoryChangeSource {
 public:
  bool IsExistingDirectory(const std::string& path) override {
    if (path.empty())
      return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  std::unique_ptr<DirectoryChanges> Watch(const std::string& directory, bool subtree,
                                          std::uint32_t changeClasses,
                                          const StopSignal& stop) override {
    return std::make_unique<NotificationChanges>(directory, subtree, changeClasses, stop);
  }
};

}  // namespace

StopSignal::StopSignal() noexcept
    : native_(reinterpret_cast<std::intptr_t>(::CreateEventA(nullptr, TRUE, FALSE, nullptr))) {}

StopSignal::~StopSignal() {
  if (Usable())
    ::CloseHandle(EventOf(*this));
}

void StopSignal::Raise() noexcept {
  raised_.store(true, std::memory_order_release);
  if (Usable())
    ::SetEvent(EventOf(*this));
}

bool StopSignal::Usable() const noexcept {
  return native_ != 0;
}

DirectoryChangeSource& SystemDirectoryChangeSource() {
  static Win32DirectoryChangeSource source;
  return source;
}

}  // namespace brontel::platform
