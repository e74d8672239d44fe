/** @file WorkerThread.h: work done a step at a time on a thread of its own, stoppable at once. */
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace brontel {

// Runs `step` on a worker thread until it answers false (the work is done), checking between
// steps whether to stop, so a stop takes effect within one step; after each step `perMille`,
// asked on the worker, tells how far the work got. What the steps work on (a file's index, a
// compressed text) is the worker's while it runs and the caller's again once Finished()
// answered true, or after Stop(). Nothing the steps throw leaves the thread: a failure ends
// the work, and Failure() tells it.
class WorkerThread {
 public:
  // `name` says where a failure that is not an exception came from (the trace log).
  WorkerThread(std::string name, std::function<bool()> step, std::function<int()> perMille);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Ends the work and waits for the thread (at most one step).
  void Stop();
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // The failure's text when a step failed (only after Finished()).
  const std::string& Failure() const { return failure_; }
  int Progress() const { return progress_.load(std::memory_order_relaxed); }

 private:
  void Run();

  std::string name_;
  std::function<bool()> step_;
  std::function<int()> perMille_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> progress_{0};
  std::string failure_;
  std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace brontel
