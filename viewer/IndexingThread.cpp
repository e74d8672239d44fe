#include "viewer/IndexingThread.h"

#include <exception>

#include "diagnostics/Shield.h"

namespace brontel {

IndexingThread::IndexingThread(std::shared_ptr<FileIndexer> indexer, std::function<int()> perMille)
    : indexer_(std::move(indexer)), perMille_(std::move(perMille)), thread_([this] { Run(); }) {}

IndexingThread::~IndexingThread() {
  Stop();
}

void IndexingThread::Stop() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable())
    thread_.join();
}

void IndexingThread::Run() {
  // The indexing runs on a thread of its own: nothing it throws may leave it.
  const bool ended = Shield::Run("indexing", [this] {
    try {
      while (!stop_.load(std::memory_order_relaxed) && indexer_->Step()) {
        const std::uint64_t goal = indexer_->Goal();
        const std::uint64_t done = indexer_->Offset();
        const int perMille = perMille_   ? perMille_()
                             : goal == 0 ? 1000
                                         : static_cast<int>(done * 1000 / goal);
        progress_.store(perMille, std::memory_order_relaxed);
      }
    } catch (const std::exception& failure) {
      failure_ = failure.what();
    }
  });
  if (!ended)
    failure_ = "indexing failed";
  finished_.store(true, std::memory_order_release);
}

}  // namespace brontel
