/** @file WatchTestSupport.h: a draining UI-thread poster, recorders, file appends. */
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ui/UiThreadPoster.h"
#include "watch/Fsnotify.h"

namespace brontel::testing {

using namespace std::chrono_literals;

inline void AppendTo(const std::filesystem::path& file, const std::string& text = "line\n") {
  std::ofstream out(file, std::ios::app | std::ios::binary);
  out << text;
}

// The test thread plays the UI thread: posted work waits in a queue until the test runs it.
class QueuePoster : public ui::UiThreadPoster {
 public:
  void Post(std::function<void()> work) override {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(work));
    }
    posted_.notify_all();
  }

  std::size_t Pending() {
    std::lock_guard lock(mutex_);
    return queue_.size();
  }

  // Runs the oldest posted work, waiting up to `limit` for one; false when none came.
  bool RunOne(std::chrono::milliseconds limit) {
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_for(lock, limit, [&] { return !queue_.empty(); }))
        return false;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    work();
    return true;
  }

  void RunAll() {
    while (RunOne(0ms)) {
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};

// Runs posted work until `done` holds or the generous deadline passes; answers `done()`.
inline bool RunUntil(QueuePoster& poster, const std::function<bool()>& done,
                     std::chrono::milliseconds limit = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    poster.RunOne(5ms);
  }
  return true;
}

// Waits, without running anything, until `count` pieces of work are posted.
inline bool WaitUntilPosted(QueuePoster& poster, std::size_t count,
                            std::chrono::milliseconds limit = 10s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (poster.Pending() < count) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Runs posted work for `span`: gives a report that should not come the time to come anyway.
inline void RunFor(QueuePoster& poster, std::chrono::milliseconds span) {
  const auto deadline = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < deadline)
    poster.RunOne(5ms);
}

// What the handlers of a watcher were called with, from whichever thread they ran on.
class Recorder {
 public:
  struct Error {
    const TThNotifyWalker* sender;
    int errNum;
    std::string message;
    std::thread::id thread;
  };

  TNotifyChangeEvent ChangeHandler() {
    return [this](TThNotifyWalker& sender) {
      std::lock_guard lock(mutex_);
      change_senders_.push_back(&sender);
      change_threads_.insert(std::this_thread::get_id());
    };
  }
  TNotifyErrorEvent ErrorHandler() {
    return [this](TThNotifyWalker& sender, int errNum, const std::string& message) {
      std::lock_guard lock(mutex_);
      errors_.push_back({&sender, errNum, message, std::this_thread::get_id()});
    };
  }

  int Changes() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(change_senders_.size());
  }
  std::vector<const TThNotifyWalker*> ChangeSenders() {
    std::lock_guard lock(mutex_);
    return change_senders_;
  }
  std::set<std::thread::id> ChangeThreads() {
    std::lock_guard lock(mutex_);
    return change_threads_;
  }
  std::vector<Error> Errors() {
    std::lock_guard lock(mutex_);
    return errors_;
  }
  std::function<bool()> ChangesReach(int count) {
    return [this, count] { return Changes() >= count; };
  }
  std::function<bool()> ErrorsReach(std::size_t count) {
    return [this, count] { return Errors().size() >= count; };
  }

 private:
  std::mutex mutex_;
  std::vector<const TThNotifyWalker*> change_senders_;
  std::set<std::thread::id> change_threads_;
  std::vector<Error> errors_;
};

}  // namespace brontel::testing
