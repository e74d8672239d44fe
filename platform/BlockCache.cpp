#include "platform/BlockCache.h"

#include <algorithm>
#include <exception>

namespace brontel::platform {

BlockCache::BlockCache(std::unique_ptr<ReadOnlyFile> file, std::size_t maxBlocks)
    : file_(std::move(file)), maxBlocks_(std::max<std::size_t>(maxBlocks, 2)) {}

void BlockCache::Forget() {
  blocks_.clear();
  byNumber_.clear();
}

const BlockCache::Block& BlockCache::BlockAt(std::uint64_t number) {
  if (const auto found = byNumber_.find(number); found != byNumber_.end()) {
    blocks_.splice(blocks_.begin(), blocks_, found->second);
    return blocks_.front();
  }
  if (blocks_.size() >= maxBlocks_) {
    // The least recently used block makes room; its buffer is reused for the new one.
    blocks_.splice(blocks_.begin(), blocks_, std::prev(blocks_.end()));
    byNumber_.erase(blocks_.front().number);
  } else {
    blocks_.emplace_front();
  }
  Block& block = blocks_.front();
  block.number = number;
  block.bytes.resize(kBlockSize);
  std::size_t got = 0;
  try {
    got = ReadFullyAt(*file_, number * kBlockSize, block.bytes.data(), kBlockSize);
  } catch (const std::exception&) {
    blocks_.pop_front();  // a block half read is no block
    throw;
  }
  block.bytes.resize(got);
  byNumber_[number] = blocks_.begin();
  return block;
}

std::size_t BlockCache::Read(std::uint64_t offset, std::size_t count, std::string& out) {
  std::size_t appended = 0;
  while (appended < count) {
    const std::uint64_t at = offset + appended;
    const Block& block = BlockAt(at / kBlockSize);
    const auto inBlock = static_cast<std::size_t>(at % kBlockSize);
    if (inBlock >= block.bytes.size())
      break;  // the file ends here
    const std::size_t take = std::min(count - appended, block.bytes.size() - inBlock);
    out.append(block.bytes, inBlock, take);
    appended += take;
    if (block.bytes.size() < kBlockSize)
      break;
  }
  return appended;
}

}  // namespace brontel::platform
