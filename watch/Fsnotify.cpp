#include "watch/Fsnotify.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "diagnostics/Shield.h"

namespace brontel {

std::uint32_t ChangeClassMask(TNotifyFilters filters) {
  struct Entry {
    TNotifyFilter member;
    std::uint32_t changeClass;
  };
  static constexpr Entry kClasses[] = {
      {TNotifyFilter::cFileName, platform::kChangeFileName},
      {TNotifyFilter::cDirName, platform::kChangeDirName},
      {TNotifyFilter::cAttributes, platform::kChangeAttributes},
      {TNotifyFilter::cSize, platform::kChangeSize},
      {TNotifyFilter::cLastWrite, platform::kChangeLastWrite},
      {TNotifyFilter::cSecurity, platform::kChangeSecurity},
  };
  std::uint32_t mask = 0;
  for (const Entry& entry : kClasses) {
    if (filters.Contains(entry.member))
      mask |= entry.changeClass;
  }
  return mask;
}

// ---- TThNotifyWalker ----

TThNotifyWalker::TThNotifyWalker(Settings settings, ui::UiThreadPoster& poster,
                                 platform::DirectoryChangeSource& source)
    : settings_(std::move(settings)), poster_(poster), source_(source) {}

TThNotifyWalker::~TThNotifyWalker() {
  try {
    Join();
  } catch (const std::system_error&) {
    // A thread that cannot be joined any more has ended already.
  }
}

bool TThNotifyWalker::Start() {
  try {
    thread_ = std::thread([self = shared_from_this()] {
      self->Run();
      self->finished_.store(true, std::memory_order_release);
    });
    return true;
  } catch (const std::system_error&) {
    finished_.store(true, std::memory_order_release);
    errNum_.store(kNotifyErrorNotContinued, std::memory_order_release);
    if (!settings_.onError)
      return false;
    // Reported like any other error of the watch, but this thread is the main thread: it
    // cannot wait for the report.
    Shield::Run("watcher error report", [&] {
      poster_.Post([self = shared_from_this(), message = ErrorMessage(kNotifyErrorNotContinued)] {
        if (self->StopRequested())
          return;
        Shield::Run("watcher error handler",
                    [&] { self->settings_.onError(*self, kNotifyErrorNotContinued, message); });
      });
    });
    return false;
  }
}

void TThNotifyWalker::RequestStop() noexcept {
  {
    std::lock_guard lock(mutex_);
    stopRequested_.store(true, std::memory_order_release);
  }
  mainThreadDone_.notify_all();
  stopSignal_.Raise();
}

void TThNotifyWalker::Join() {
  if (!thread_.joinable())
    return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();  // a handler let go of its own worker; the thread holds what it uses
  } else {
    thread_.join();
  }
}

void TThNotifyWalker::Run() {
  // Nothing may leave a thread; whatever failed, the watch ends (and the shield records why).
  Shield::Run("watcher thread", [this] {
    if (!source_.IsExistingDirectory(settings_.path)) {
      ReportError(kNotifyErrorNoDirectory);
    } else {
      StartWatch();
      if (settings_.first)
        DeliverChange();
      while (WaitForChange() && !StopRequested())
        DeliverChange();
      if (!StopRequested())
        ReportError(kNotifyErrorNotContinued);
    }
  });
  notify_.Close();
}

void TThNotifyWalker::StartWatch() {
  notify_.timeOut = settings_.timeOut;
  try {
    notify_.watch = source_.Watch(settings_.path, settings_.subTree,
                                  ChangeClassMask(settings_.filters), stopSignal_);
    notify_.armed = notify_.watch != nullptr;
  } catch (const std::exception&) {
    notify_.armed = false;  // refused: the first wait answers false and error 1 follows
  }
}

bool TThNotifyWalker::WaitForChange() {
  using Result = platform::DirectoryChanges::WaitResult;
  if (!notify_.armed)
    return false;
  Result result = Result::kFailed;
  try {
    result = notify_.watch->Wait(notify_.timeOut);
  } catch (const std::exception&) {
  }
  switch (result) {
    case Result::kSignalled:
    case Result::kTimedOut:
      try {
        notify_.armed = notify_.watch->Rearm();
      } catch (const std::exception&) {
        notify_.armed = false;
      }
      break;
    case Result::kStopped:
      // Only a stop request raises the signal; anything else would be a broken watch.
      notify_.armed = StopRequested();
      break;
    case Result::kFailed:
      // Waiting again would fail again at once: give the watch up like a failed re-arm.
      notify_.armed = false;
      break;
  }
  return notify_.armed;
}

void TThNotifyWalker::DeliverChange() {
  if (StopRequested() || !settings_.onChange)
    return;
  if (settings_.delivery == Delivery::kThroughMainThread) {
    RunOnMainThreadAndWait([this] { settings_.onChange(*this); });
    return;
  }
  Shield::Run("watcher change handler", [this] { settings_.onChange(*this); });
}

void TThNotifyWalker::ReportError(int errNum) {
  errNum_.store(errNum, std::memory_order_release);
  if (!settings_.onError)
    return;
  RunOnMainThreadAndWait([this, errNum, message = ErrorMessage(errNum)] {
    settings_.onError(*this, errNum, message);
  });
}

std::string TThNotifyWalker::ErrorMessage(int errNum) const {
  return (errNum == kNotifyErrorNoDirectory ? kNoDirectoryText : kNotContinuedText) +
         settings_.path;
}

// The posted work holds the worker alive, so it may run after the worker thread has ended; it
// then finds the stop request (every owner stops its workers before letting go of them) and
// does nothing. A stop request also releases the waiting worker, so a main thread that is busy
// stopping this worker never waits for a report that it would have to run itself.
void TThNotifyWalker::RunOnMainThreadAndWait(std::function<void()> work) {
  auto done = std::make_shared<bool>(false);  // guarded by mutex_
  const bool posted = Shield::Run("watcher report", [&] {
    poster_.Post([self = shared_from_this(), done, work = std::move(work)] {
      if (!self->StopRequested())
        Shield::Run("watcher report handler", work);
      {
        std::lock_guard lock(self->mutex_);
        *done = true;
      }
      self->mainThreadDone_.notify_all();
    });
  });
  if (!posted)
    return;  // nothing can reach the main thread: the report is dropped (and recorded)
  std::unique_lock lock(mutex_);
  mainThreadDone_.wait(lock, [&] { return *done || StopRequested(); });
}

// ---- TFSNotify ----

TFSNotify::TFSNotify(ui::UiThreadPoster& poster, platform::DirectoryChangeSource& source)
    : poster_(poster), source_(source) {}

TFSNotify::~TFSNotify() {
  SetActive(false);
  for (const auto& worker : stopped_) {
    try {
      worker->Join();
    } catch (const std::system_error&) {
    }
  }
}

void TFSNotify::SetActive(bool value) {
  if (value == active_)
    return;
  JoinFinishedWorkers();
  if (value) {
    StartWorker();
  } else {
    StopWorker();
  }
  active_ = value;
}

void TFSNotify::SetPath(const std::string& path) {
  if (!active_) {
    path_ = path;
    return;
  }
  SetActive(false);
  path_ = path;
  SetActive(true);
}

void TFSNotify::SetFilters(TNotifyFilters filters) {
  if (!active_) {
    filters_ = filters;
    return;
  }
  SetActive(false);
  filters_ = filters;
  SetActive(true);
}

void TFSNotify::StartWorker() {
  TThNotifyWalker::Settings settings;
  settings.path = path_;
  settings.timeOut = timeOut_;
  settings.first = first_;
  settings.subTree = subTree_;
  settings.filters = filters_;
  settings.onChange = onChange_;
  settings.onError = onError_;
  settings.delivery = TThNotifyWalker::Delivery::kDirect;
  current_ = std::make_shared<TThNotifyWalker>(std::move(settings), poster_, source_);
  current_->Start();
}

void TFSNotify::StopWorker() {
  if (!current_)
    return;
  current_->RequestStop();
  stopped_.push_back(std::move(current_));
  current_.reset();
}

// Stopped workers end quickly; joining those that have keeps repeated toggling from piling
// them up, without ever blocking on one that has not.
void TFSNotify::JoinFinishedWorkers() {
  const auto finished = std::remove_if(stopped_.begin(), stopped_.end(), [](const auto& worker) {
    if (!worker->Finished())
      return false;
    worker->Join();
    return true;
  });
  stopped_.erase(finished, stopped_.end());
}

}  // namespace brontel
