/** @file DecompressingThread.h: a compressed log's text decoded on a thread of its own. */
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/DecodedFile.h"

namespace brontel {

// Decodes the rest of `text` on a worker thread, a piece at a time, checking between pieces
// whether to stop: a small file may stand for a text of a gigabyte, which the host's UI thread
// must not wait for. While the thread runs, `text` is its own; it is the caller's again once
// Finished() answered true, or after the object is gone (which stops and waits for it).
class DecompressingThread {
 public:
  DecompressingThread(platform::DecodedFile& text, std::uint64_t encodedSize);
  ~DecompressingThread();
  DecompressingThread(const DecompressingThread&) = delete;
  DecompressingThread& operator=(const DecompressingThread&) = delete;

  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // Per mille of the compressed file taken so far.
  int PerMille() const { return perMille_.load(std::memory_order_relaxed); }

 private:
  void Run();

  platform::DecodedFile& text_;
  std::uint64_t encodedSize_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> perMille_{0};
  std::thread thread_;
};

}  // namespace brontel
