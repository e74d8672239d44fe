#include "platform/LargeBlock.h"

#include <new>
#include <utility>

namespace brontel::platform {
namespace {

// Below this a block comes from the heap: a mapping of its own would cost more than it saves.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

}  // namespace

LargeBlock::LargeBlock(std::size_t bytes) {
  if (bytes == 0)
    return;
  if (bytes < kMappedFrom) {
    data_ = static_cast<char*>(::operator new(bytes));
    size_ = bytes;
    return;
  }
  size_ = bytes;
  data_ = MapPages(size_);
  mapped_ = true;
}

LargeBlock::~LargeBlock() {
  Release();
}

LargeBlock::LargeBlock(LargeBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

LargeBlock& LargeBlock::operator=(LargeBlock&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

void LargeBlock::Release() noexcept {
  if (data_ == nullptr)
    return;
  if (mapped_)
    UnmapPages(data_, size_);
  else
    ::operator delete(data_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

}  // namespace brontel::platform
