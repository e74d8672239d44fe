#include "viewer/DecompressingThread.h"

#include <algorithm>
#include <exception>

#include "diagnostics/Shield.h"

namespace brontel {

namespace {

// Text decoded between two looks at the stop flag: a few milliseconds of inflation.
constexpr std::uint64_t kPieceOfText = std::uint64_t{4} << 20;

}  // namespace

DecompressingThread::DecompressingThread(platform::DecodedFile& text, std::uint64_t encodedSize)
    : text_(text),
      encodedSize_(std::max<std::uint64_t>(encodedSize, 1)),
      thread_([this] { Run(); }) {}

DecompressingThread::~DecompressingThread() {
  stop_.store(true, std::memory_order_relaxed);
  if (thread_.joinable())
    thread_.join();
}

void DecompressingThread::Run() {
  // Nothing it throws may leave the thread: a failed read ends the text where it got to.
  Shield::Run("decompressing", [this] {
    try {
      while (!stop_.load(std::memory_order_relaxed) && text_.DecodeSome(kPieceOfText)) {
        const std::uint64_t taken = std::min(text_.FileOffset(), encodedSize_);
        perMille_.store(static_cast<int>(taken * 1000 / encodedSize_), std::memory_order_relaxed);
      }
    } catch (const std::exception&) {
    }
  });
  finished_.store(true, std::memory_order_release);
}

}  // namespace brontel
