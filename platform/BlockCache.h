/** @file BlockCache.h: a file read in blocks by position, the blocks last used kept. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

// Reads stretches of a file through a bounded cache of fixed-size blocks, each read with one
// positioned read. Nothing is mapped into memory: a file cut short under a reader only gives
// shorter reads (the missing bytes are simply not there), never a fault.
//
// Memory: at most `maxBlocks` blocks of kBlockSize bytes. Errors: a failed read throws
// PlatformError. Threads: one thread at a time, as the file it reads.
class BlockCache {
 public:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  BlockCache(std::unique_ptr<ReadOnlyFile> file, std::size_t maxBlocks);

  // Appends the bytes [offset, offset + count) of the file to `out`, fewer where the file ends
  // before; answers how many were appended.
  std::size_t Read(std::uint64_t offset, std::size_t count, std::string& out);
  // Drops every block (the file changed).
  void Forget();

  ReadOnlyFile& File() { return *file_; }
  std::size_t BlocksHeld() const { return blocks_.size(); }

 private:
  struct Block {
    std::uint64_t number = 0;
    std::string bytes;  // shorter than kBlockSize at the file's end
  };
  const Block& BlockAt(std::uint64_t number);

  std::unique_ptr<ReadOnlyFile> file_;
  std::size_t maxBlocks_;
  std::list<Block> blocks_;  // most recently used first
  std::unordered_map<std::uint64_t, std::list<Block>::iterator> byNumber_;
};

}  // namespace brontel::platform
