/** @file DirectoryChanges.h: waiting for changes inside one directory (or its whole subtree). */
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace brontel::platform {

// Change classes a watch can be asked for. The values are those of the Windows directory
// change notification filter, so that they can be passed through unchanged there; other
// platforms map each class to the closest events they report.
inline constexpr std::uint32_t kChangeFileName = 0x001;
inline constexpr std::uint32_t kChangeDirName = 0x002;
inline constexpr std::uint32_t kChangeAttributes = 0x004;
inline constexpr std::uint32_t kChangeSize = 0x008;
inline constexpr std::uint32_t kChangeLastWrite = 0x010;
inline constexpr std::uint32_t kChangeSecurity = 0x100;

// A wait of this many milliseconds never times out.
inline constexpr std::uint32_t kWaitWithoutLimit = 0xFFFFFFFF;

// A one-shot, thread-safe wake-up for a thread blocked in DirectoryChanges::Wait. Once raised it
// stays raised: every wait that starts or is running on a watch made with it ends at once.
class StopSignal {
 public:
  // Never throws. When the operating system gives no wake object, Usable() is false; a watch
  // cannot be made with an unusable signal (WatchDirectory then refuses).
  StopSignal() noexcept;
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // May be called from any thread, any number of times.
  void Raise() noexcept;
  bool IsRaised() const noexcept { return raised_.load(std::memory_order_acquire); }
  bool Usable() const noexcept;

  // The backend's wake object (an eventfd on POSIX, an event handle on Windows); for the
  // backends of this header only.
  std::intptr_t NativeHandle() const noexcept { return native_; }

 private:
  std::atomic<bool> raised_{false};
  std::intptr_t native_;
};

// One armed watch on a directory. Wait and Rearm are called from one thread at a time (the
// thread that waits); only the StopSignal given at creation may be touched from elsewhere.
class DirectoryChanges {
 public:
  enum class WaitResult {
    kSignalled,  // a change of a requested class happened
    kTimedOut,   // the time ran out without such a change
    kStopped,    // the stop signal was raised
    kFailed,     // the wait itself failed; the watch should be given up
  };

  virtual ~DirectoryChanges() = default;

  // Blocks for at most `timeoutMs` milliseconds (kWaitWithoutLimit: no limit).
  virtual WaitResult Wait(std::uint32_t timeoutMs) = 0;

  // Prepares the watch for the next change after a signal or a time-out. False when the watch
  // can no longer report changes (for instance because the watched directory was removed).
  virtual bool Rearm() = 0;
};

// The operating system's side of directory watching, as one interface so that callers can be
// given another (tests do). The system's own is SystemDirectoryChangeSource().
class DirectoryChangeSource {
 public:
  virtual ~DirectoryChangeSource() = default;

  // True when `path` names an existing directory (a trailing separator is allowed).
  virtual bool IsExistingDirectory(const std::string& path) = 0;

  // Starts watching `directory` (and every subdirectory, also those made later, when `subtree`)
  // for the change classes in `changeClasses` (kChange... values). `stop` must outlive the
  // result. Throws PlatformError when the operating system refuses the watch.
  virtual std::unique_ptr<DirectoryChanges> Watch(const std::string& directory, bool subtree,
                                                  std::uint32_t changeClasses,
                                                  const StopSignal& stop) = 0;
};

// The real operating system. Lives for the whole process; safe to use from any thread.
DirectoryChangeSource& SystemDirectoryChangeSource();

}  // namespace brontel::platform
