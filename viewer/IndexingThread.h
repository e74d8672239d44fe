/** @file IndexingThread.h: a file indexed on a thread of its own, stoppable at once. */
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "viewer/FileIndexer.h"

namespace brontel {

// Runs `indexer` to its goal on a worker thread, one stretch at a time, checking between
// stretches whether to stop (so a stop takes effect within one stretch's reading). While the
// thread runs only the progress is shared; the indexer is the caller's again once Finished()
// answered true, or after Stop().
class IndexingThread {
 public:
  // `perMille`, when given, tells the progress instead of the indexer's offset and goal (it is
  // asked on the worker, between stretches).
  explicit IndexingThread(std::shared_ptr<FileIndexer> indexer, std::function<int()> perMille = {});
  ~IndexingThread();
  IndexingThread(const IndexingThread&) = delete;
  IndexingThread& operator=(const IndexingThread&) = delete;

  // Ends the work and waits for the thread (at most one stretch).
  void Stop();
  // True once the indexer reached its goal or failed; the indexer may then be used again.
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // The failure's text when a read failed (only after Finished()).
  const std::string& Failure() const { return failure_; }
  // Per mille of the goal indexed so far.
  int Progress() const { return progress_.load(std::memory_order_relaxed); }

 private:
  void Run();

  std::shared_ptr<FileIndexer> indexer_;
  std::function<int()> perMille_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> progress_{0};
  std::string failure_;
  std::thread thread_;
};

}  // namespace brontel
