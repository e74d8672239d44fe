/** @file LastLines.h: the last lines of those appended, kept as a file is read. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "platform/LargeBlock.h"

namespace brontel {

// The last `limit` lines appended (at least one), oldest first: the counted lines of a file as
// it is indexed, of which only the last make the history. Each line is copied once, into a
// chunk of lines; a chunk whose lines were all dropped is used again for the next, so keeping
// the last 100 000 lines of a file with millions costs neither a copy of the kept text as it
// grows nor memory taken afresh. Not thread-safe: one thread at a time.
class LastLines {
 public:
  explicit LastLines(std::size_t limit);

  void Append(std::string_view line);
  void Clear();

  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  // The bytes of the lines held, line ends not counted (there are none).
  std::size_t TextBytes() const { return textBytes_; }

  // Calls visit(line) for each line held, oldest first.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const Chunk& chunk : chunks_) {
      for (std::size_t at = chunk.begin; at < chunk.end;) {
        const std::uint32_t length = LengthAt(chunk, at);
        visit(std::string_view(chunk.block.Data() + at + kLengthBytes, length));
        at += kLengthBytes + length;
      }
    }
  }

 private:
  // Each line is kept after its length.
  static constexpr std::size_t kLengthBytes = sizeof(std::uint32_t);
  struct Chunk {
    platform::LargeBlock block;
    std::size_t begin = 0;  // the oldest line held
    std::size_t end = 0;
  };

  static std::uint32_t LengthAt(const Chunk& chunk, std::size_t at);
  void DropOldest();
  // A chunk with room for `bytes` more at the end of the newest.
  Chunk& RoomFor(std::size_t bytes);

  std::size_t limit_;
  std::deque<Chunk> chunks_;  // oldest first; a line lies in one chunk
  std::vector<platform::LargeBlock> spare_;
  std::size_t count_ = 0;
  std::size_t textBytes_ = 0;
};

}  // namespace brontel
