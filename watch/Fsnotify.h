/** @file Fsnotify.h: the directory change watcher component and its worker thread. */
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DirectoryChanges.h"
#include "ui/UiThreadPoster.h"

namespace brontel {

// The kinds of change a watcher can report.
enum class TNotifyFilter {
  cFileName,    // a file is created, deleted or renamed
  cDirName,     // a directory is created, deleted or renamed
  cAttributes,  // a file's attributes change
  cSize,        // a file's size changes
  cLastWrite,   // a file's last-write time changes
  cSecurity,    // a file's security settings change
};

// A set of TNotifyFilter members.
class TNotifyFilters {
 public:
  constexpr TNotifyFilters() = default;
  constexpr TNotifyFilters(std::initializer_list<TNotifyFilter> members) {
    for (TNotifyFilter member : members)
      bits_ |= Bit(member);
  }

  constexpr bool Contains(TNotifyFilter member) const { return (bits_ & Bit(member)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(TNotifyFilter member) { bits_ |= Bit(member); }
  constexpr void Exclude(TNotifyFilter member) { bits_ &= ~Bit(member); }
  friend constexpr bool operator==(TNotifyFilters, TNotifyFilters) = default;

 private:
  static constexpr unsigned Bit(TNotifyFilter member) {
    return 1u << static_cast<unsigned>(member);
  }
  unsigned bits_ = 0;
};

// The operating system's change classes (platform::kChange...) for a filter set.
std::uint32_t ChangeClassMask(TNotifyFilters filters);

// The two errors a worker reports; the message is the text followed directly by the path.
inline constexpr int kNotifyErrorNoDirectory = 0;
inline constexpr int kNotifyErrorNotContinued = 1;
inline constexpr const char* kNoDirectoryText = "Directory must be exist ";
inline constexpr const char* kNotContinuedText = "Not a Continued notify  ";

class TThNotifyWalker;

// `sender` is the worker that reports. A change handler runs on the worker thread (unless the
// worker delivers through the main thread); an error handler always runs on the main thread.
// Exceptions escaping a handler are stopped and recorded by the shield: a handler's failure
// never ends the watch.
using TNotifyChangeEvent = std::function<void(TThNotifyWalker& sender)>;
using TNotifyErrorEvent =
    std::function<void(TThNotifyWalker& sender, int errNum, const std::string& message)>;

// The worker: one thread that watches one directory with the settings it was given and reports
// what it sees. Created suspended; Start runs it. It ends when a stop is requested or after it
// has reported an error, and is then joined by whoever holds it (TFSNotify does).
//
// Threads: Start, Join and the constructor are called from the main (UI) thread; RequestStop
// from any thread. Error reports, and change reports in kThroughMainThread mode, are posted to
// the main thread through `poster` and the worker waits until they have run there, or until a
// stop is requested, whichever comes first; a report still queued when a stop is requested is
// dropped when the main thread reaches it. `poster` and `source` must outlive the worker thread.
class TThNotifyWalker : public std::enable_shared_from_this<TThNotifyWalker> {
 public:
  enum class Delivery { kDirect, kThroughMainThread };

  struct Settings {
    std::string path;
    std::uint32_t timeOut = platform::kWaitWithoutLimit;
    bool first = false;
    bool subTree = false;
    TNotifyFilters filters;
    TNotifyChangeEvent onChange;
    TNotifyErrorEvent onError;
    Delivery delivery = Delivery::kDirect;
  };

  TThNotifyWalker(Settings settings, ui::UiThreadPoster& poster,
                  platform::DirectoryChangeSource& source);
  ~TThNotifyWalker();
  TThNotifyWalker(const TThNotifyWalker&) = delete;
  TThNotifyWalker& operator=(const TThNotifyWalker&) = delete;

  // Starts the thread. False when no thread could be started; the worker has then ended and an
  // error 1 report is posted to the main thread (without waiting for it).
  bool Start();

  // Asks the worker to end: it wakes at once from any wait and delivers nothing afterwards.
  void RequestStop() noexcept;
  bool StopRequested() const noexcept { return stopRequested_.load(std::memory_order_acquire); }

  // True once the thread has done all its work (Join then returns at once).
  bool Finished() const noexcept { return finished_.load(std::memory_order_acquire); }

  // Waits for the thread to end; from the worker thread itself it lets the thread run on alone.
  void Join();

  const std::string& Path() const { return settings_.path; }
  // The number of the error reported last, -1 before any.
  int ErrNum() const noexcept { return errNum_.load(std::memory_order_acquire); }

 private:
  // The watch on the operating system and whether it is armed.
  struct Notify {
    std::unique_ptr<platform::DirectoryChanges> watch;
    bool armed = false;
    std::uint32_t timeOut = platform::kWaitWithoutLimit;
    void Close() {
      watch.reset();
      armed = false;
    }
  };

  void Run();
  void StartWatch();
  bool WaitForChange();
  void DeliverChange();
  void ReportError(int errNum);
  std::string ErrorMessage(int errNum) const;
  void RunOnMainThreadAndWait(std::function<void()> work);

  const Settings settings_;
  ui::UiThreadPoster& poster_;
  platform::DirectoryChangeSource& source_;
  platform::StopSignal stopSignal_;  // before notify_: the watch refers to it
  Notify notify_;
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> errNum_{-1};
  std::mutex mutex_;  // with mainThreadDone_: a main-thread call has run
  std::condition_variable mainThreadDone_;
  std::thread thread_;
};

// Watches one directory for the kinds of change in Filters and calls OnChange whenever the
// operating system reports one, on a worker thread started at each activation.
//
// Threads: every member is called on the main (UI) thread, never from within the handlers
// running on the worker thread. OnChange runs on the worker thread, concurrently with the main
// thread; OnError runs on the main thread, posted through `poster`.
//
// Lifetime: deactivating wakes the worker at once and it delivers nothing more once it has
// noticed; destruction also waits until a change call that is running has returned, and no
// call starts afterwards. So the destructor must not run while the main thread holds anything
// that a running OnChange waits for. `poster` and `source` must outlive the component.
class TFSNotify {
 public:
  explicit TFSNotify(ui::UiThreadPoster& poster, platform::DirectoryChangeSource& source =
                                                     platform::SystemDirectoryChangeSource());
  ~TFSNotify();
  TFSNotify(const TFSNotify&) = delete;
  TFSNotify& operator=(const TFSNotify&) = delete;

  TNotifyFilters Filters() const { return filters_; }
  void SetFilters(TNotifyFilters filters);
  bool Active() const { return active_; }
  void SetActive(bool value);
  const std::string& Path() const { return path_; }
  void SetPath(const std::string& path);

  // Plain values: a change takes effect at the next activation.
  const TNotifyChangeEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyChangeEvent handler) { onChange_ = std::move(handler); }
  const TNotifyErrorEvent& OnError() const { return onError_; }
  void SetOnError(TNotifyErrorEvent handler) { onError_ = std::move(handler); }
  std::uint32_t TimeOut() const { return timeOut_; }
  void SetTimeOut(std::uint32_t milliseconds) { timeOut_ = milliseconds; }
  bool First() const { return first_; }
  void SetFirst(bool value) { first_ = value; }
  bool SubTree() const { return subTree_; }
  void SetSubTree(bool value) { subTree_ = value; }

  // The worker of the latest activation, while active; null otherwise.
  const TThNotifyWalker* CurrentWorker() const { return current_.get(); }

 private:
  void StartWorker();
  void StopWorker();
  void JoinFinishedWorkers();

  ui::UiThreadPoster& poster_;
  platform::DirectoryChangeSource& source_;
  TNotifyFilters filters_{TNotifyFilter::cFileName};
  bool active_ = false;
  std::string path_;
  TNotifyChangeEvent onChange_;
  TNotifyErrorEvent onError_;
  std::uint32_t timeOut_ = platform::kWaitWithoutLimit;
  bool first_ = false;
  bool subTree_ = false;
  std::shared_ptr<TThNotifyWalker> current_;
  std::vector<std::shared_ptr<TThNotifyWalker>> stopped_;  // asked to stop, not yet joined
};

}  // namespace brontel
