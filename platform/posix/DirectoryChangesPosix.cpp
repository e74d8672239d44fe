// Directory watching on Linux: inotify for the changes, an eventfd as the stop signal, poll to
// wait for either. inotify reports events, not a level, so each wait reads the events and keeps
// waiting (within its time) until one of them belongs to a requested change class.

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "platform/DirectoryChanges.h"
#include "platform/PlatformError.h"

namespace brontel::platform {

StopSignal::StopSignal() noexcept : native_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
  if (Usable())
    ::close(static_cast<int>(native_));
}

void StopSignal::Raise() noexcept {
  raised_.store(true, std::memory_order_release);
  if (!Usable())
    return;
  const std::uint64_t one = 1;
  // The counter only has to become non-zero; a failed write means it already is.
  [[maybe_unused]] const ssize_t written = ::write(static_cast<int>(native_), &one, sizeof one);
}

bool StopSignal::Usable() const noexcept {
  return native_ >= 0;
}

namespace {

constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kContentEvents = IN_MODIFY | IN_CLOSE_WRITE;

// The inotify events that stand for the requested change classes. A touched time stamp arrives
// as IN_ATTRIB, so a last-write request listens to it as well as to writes.
std::uint32_t InotifyMask(std::uint32_t classes, bool subtree) {
  std::uint32_t mask = IN_DELETE_SELF;  // never empty; the root's end is noticed in any case
  if (classes & (kChangeFileName | kChangeDirName))
    mask |= kNameEvents;
  if (classes & (kChangeAttributes | kChangeSecurity | kChangeLastWrite))
    mask |= IN_ATTRIB;
  if (classes & (kChangeSize | kChangeLastWrite))
    mask |= kContentEvents;
  if (subtree)
    mask |= IN_CREATE | IN_MOVED_FROM | IN_MOVED_TO;  // to follow the directories
  return mask;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/')
    return directory + name;
  return directory + "/" + name;
}

class InotifyChanges final : public DirectoryChanges {
 public:
  InotifyChanges(const std::string& directory, bool subtree, std::uint32_t classes,
                 const StopSignal& stop)
      : root_(directory),
        subtree_(subtree),
        classes_(classes),
        mask_(InotifyMask(classes, subtree)),
        stop_(stop) {
    if (!stop.Usable())
      throw PlatformError(directory, "no wake-up object for the watch");
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
      throw LastOsError(directory);
    rootWd_ = ::inotify_add_watch(fd_, directory.c_str(), mask_ | IN_ONLYDIR);
    if (rootWd_ < 0) {
      PlatformError error = LastOsError(directory);
      ::close(fd_);
      throw error;
    }
    directories_[rootWd_] = root_;
    if (subtree_)
      AddSubdirectories(root_);
  }

  ~InotifyChanges() override { ::close(fd_); }

  WaitResult Wait(std::uint32_t timeoutMs) override {
    using Clock = std::chrono::steady_clock;
    const bool limited = timeoutMs != kWaitWithoutLimit;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      if (stop_.IsRaised())
        return WaitResult::kStopped;
      int pollMs = -1;
      if (limited) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollMs = static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, INT_MAX));
      }
      pollfd fds[2] = {{fd_, POLLIN, 0}, {static_cast<int>(stop_.NativeHandle()), POLLIN, 0}};
      const int ready = ::poll(fds, 2, pollMs);
      if (ready < 0) {
        if (errno == EINTR)
          continue;
        return WaitResult::kFailed;
      }
      if (fds[1].revents != 0)
        return WaitResult::kStopped;
      if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
        return WaitResult::kFailed;
      if (fds[0].revents & POLLIN) {
        const ReadOutcome outcome = ReadEvents();
        if (outcome == ReadOutcome::kFailed)
          return WaitResult::kFailed;
        if (outcome == ReadOutcome::kRelevant)
          return WaitResult::kSignalled;
        continue;
      }
      if (limited && Clock::now() >= deadline)
        return WaitResult::kTimedOut;
    }
  }

  bool Rearm() override {
    // Whatever arrived since the signal belongs to the change just reported; reading it now
    // keeps one burst from being reported twice.
    if (rootGone_)
      return false;
    return ReadEvents() != ReadOutcome::kFailed && !rootGone_;
  }

 private:
  enum class ReadOutcome { kNothingRelevant, kRelevant, kFailed };

  // Reads the events queued when it starts, and no more: a folder where events keep arriving
  // would otherwise hold the reader (and the stop request) forever. It ends early on a stop.
  ReadOutcome ReadEvents() {
    alignas(inotify_event) char buffer[16 * 1024];
    std::size_t left = PendingBytes();
    bool relevant = false;
    while (left > 0 && !stop_.IsRaised()) {
      const ssize_t length = ::read(fd_, buffer, sizeof buffer);
      if (length < 0) {
        if (errno == EINTR)
          continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
          break;
        return ReadOutcome::kFailed;
      }
      if (length == 0)
        break;
      // A stop leaves the rest unread: the watch is not waited on again.
      for (ssize_t offset = 0; offset < length && !stop_.IsRaised();) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        relevant = Handle(*event) || relevant;
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
      left -= std::min(left, static_cast<std::size_t>(length));
    }
    return relevant ? ReadOutcome::kRelevant : ReadOutcome::kNothingRelevant;
  }

  // One buffer's worth when the system does not tell.
  std::size_t PendingBytes() const {
    int pending = 0;
    if (::ioctl(fd_, FIONREAD, &pending) != 0)
      return 1;
    return static_cast<std::size_t>(std::max(pending, 0));
  }

  // Keeps the set of watched directories current and tells whether the event is a change of a
  // requested class.
  bool Handle(const inotify_event& event) {
    if (event.mask & IN_Q_OVERFLOW) {
      if (subtree_)
        AddSubdirectories(root_);  // directories made meanwhile may be unwatched
      return true;
    }
    if (event.mask & IN_IGNORED) {
      if (event.wd == rootWd_) {
        rootGone_ = true;
        return true;
      }
      directories_.erase(event.wd);
      return false;
    }
    // Events about a watched directory itself (no name) are reported by its parent, if at all.
    if (event.len == 0)
      return false;
    const auto directory = directories_.find(event.wd);
    if (directory == directories_.end())
      return false;  // from a watch removed meanwhile
    const bool is_directory = (event.mask & IN_ISDIR) != 0;
    if (subtree_ && is_directory) {
      const std::string path = JoinPath(directory->second, event.name);
      if (event.mask & IN_MOVED_FROM)
        RemoveDirectoryTree(path);
      if (event.mask & (IN_CREATE | IN_MOVED_TO))
        AddDirectoryTree(path);
    }
    return IsRequested(event.mask, is_directory);
  }

  bool IsRequested(std::uint32_t mask, bool is_directory) const {
    const std::uint32_t nameClass = is_directory ? kChangeDirName : kChangeFileName;
    if ((mask & kNameEvents) && (classes_ & nameClass))
      return true;
    if ((mask & IN_ATTRIB) && (classes_ & (kChangeAttributes | kChangeSecurity | kChangeLastWrite)))
      return true;
    return (mask & kContentEvents) && (classes_ & (kChangeSize | kChangeLastWrite));
  }

  // Watches `top` and every directory below it. Symbolic links are not followed, so a link
  // cannot lead the watch out of the tree or round in a circle. Directories that cannot be
  // watched (no permission, watch limit reached) are left out quietly.
  void AddDirectoryTree(const std::string& top) {
    std::vector<std::string> pending{top};
    while (!pending.empty()) {
      const std::string directory = std::move(pending.back());
      pending.pop_back();
      const int wd =
          ::inotify_add_watch(fd_, directory.c_str(), mask_ | IN_ONLYDIR | IN_DONT_FOLLOW);
      if (wd < 0)
        continue;
      directories_[wd] = directory;  // a directory moved within the tree keeps its watch
      std::error_code error;
      std::filesystem::directory_iterator children(
          directory, std::filesystem::directory_options::skip_permission_denied, error);
      for (; !error && children != std::filesystem::directory_iterator();
           children.increment(error)) {
        if (children->is_directory(error) && !children->is_symlink(error)) {
          pending.push_back(JoinPath(directory, children->path().filename().string()));
        }
      }
    }
  }

  void AddSubdirectories(const std::string& top) {
    std::error_code error;
    std::filesystem::directory_iterator children(
        top, std::filesystem::directory_options::skip_permission_denied, error);
    for (; !error && children != std::filesystem::directory_iterator(); children.increment(error)) {
      if (children->is_directory(error) && !children->is_symlink(error)) {
        AddDirectoryTree(JoinPath(top, children->path().filename().string()));
      }
    }
  }

  // A directory moved out of the tree must stop reporting; one moved within it is watched again
  // under its new name by the IN_MOVED_TO that follows.
  void RemoveDirectoryTree(const std::string& top) {
    const std::string prefix = top + "/";
    for (auto entry = directories_.begin(); entry != directories_.end();) {
      const std::string& path = entry->second;
      if (entry->first != rootWd_ && (path == top || path.compare(0, prefix.size(), prefix) == 0)) {
        ::inotify_rm_watch(fd_, entry->first);
        entry = directories_.erase(entry);
      } else {
        ++entry;
      }
    }
  }

  const std::string root_;
  const bool subtree_;
  const std::uint32_t classes_;
  const std::uint32_t mask_;
  const StopSignal& stop_;
  int fd_ = -1;
  int rootWd_ = -1;
  bool rootGone_ = false;
  std::unordered_map<int, std::string> directories_;  // watch descriptor -> directory path
};

class PosixDirectoryChangeSource final : public DirectoryChangeSource {
 public:
  bool IsExistingDirectory(const std::string& path) override {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::unique_ptr<DirectoryChanges> Watch(const std::string& directory, bool subtree,
                                          std::uint32_t changeClasses,
                                          const StopSignal& stop) override {
    return std::make_unique<InotifyChanges>(directory, subtree, changeClasses, stop);
  }
};

}  // namespace

DirectoryChangeSource& SystemDirectoryChangeSource() {
  static PosixDirectoryChangeSource source;
  return source;
}

}  // namespace brontel::platform
