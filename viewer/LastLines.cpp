#include "viewer/LastLines.h"

#include <algorithm>
#include <cstring>

namespace brontel {
namespace {

// The first chunk is small, for the few lines most logs count; chunks double up to the largest.
constexpr std::size_t kFirstChunk = 16 << 10;
constexpr std::size_t kLargestChunk = 2 << 20;
// Dropped chunks kept for the next: enough to keep taking lines without memory of its own.
constexpr std::size_t kSpareChunks = 2;

}  // namespace

LastLines::LastLines(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

std::uint32_t LastLines::LengthAt(const Chunk& chunk, std::size_t at) {
  std::uint32_t length = 0;
  std::memcpy(&length, chunk.block.Data() + at, kLengthBytes);
  return length;
}

void LastLines::Append(std::string_view line) {
  const auto length = static_cast<std::uint32_t>(line.size());
  Chunk& chunk = RoomFor(kLengthBytes + line.size());
  char* const at = chunk.block.Data() + chunk.end;
  std::memcpy(at, &length, kLengthBytes);
  if (!line.empty())
    std::memcpy(at + kLengthBytes, line.data(), line.size());
  chunk.end += kLengthBytes + line.size();
  ++count_;
  textBytes_ += line.size();
  if (count_ > limit_)
    DropOldest();
}

LastLines::Chunk& LastLines::RoomFor(std::size_t bytes) {
  if (!chunks_.empty() && chunks_.back().block.Size() - chunks_.back().end >= bytes)
    return chunks_.back();
  const std::size_t wanted =
      std::max(bytes, chunks_.empty() ? kFirstChunk
                                      : std::min(kLargestChunk, 2 * chunks_.back().block.Size()));
  const auto fits = std::find_if(spare_.begin(), spare_.end(),
                                 [&](const platform::LargeBlock& b) { return b.Size() >= wanted; });
  Chunk chunk;
  if (fits != spare_.end()) {
    chunk.block = std::move(*fits);
    spare_.erase(fits);
  } else {
    chunk.block = platform::LargeBlock(wanted);
  }
  chunks_.push_back(std::move(chunk));
  return chunks_.back();
}

void LastLines::DropOldest() {
  Chunk& oldest = chunks_.front();
  const std::uint32_t length = LengthAt(oldest, oldest.begin);
  oldest.begin += kLengthBytes + length;
  --count_;
  textBytes_ -= length;
  if (oldest.begin < oldest.end || chunks_.size() == 1)
    return;
  if (spare_.size() < kSpareChunks)
    spare_.push_back(std::move(oldest.block));
  chunks_.pop_front();
}

void LastLines::Clear() {
  chunks_.clear();
  spare_.clear();
  count_ = 0;
  textBytes_ = 0;
}

}  // namespace brontel
