#include "platform/TextFileReader.h"

#include <algorithm>
#include <cstring>

namespace brontel::platform {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kCtrlZ = '\x1A';
// Extra room asked for beyond the size the file reports, so that a file that grows while it is
// read needs no second allocation in the common case.
constexpr std::size_t kGrowthAllowance = 64 * 1024;

// Length of the text before the first Ctrl-Z.
std::size_t LengthBeforeCtrlZ(const char* data, std::size_t size) {
  const void* end = std::memchr(data, kCtrlZ, size);
  return end == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(end) - data);
}

}  // namespace

std::size_t ConvertToTextMode(char* data, std::size_t size) {
  size = LengthBeforeCtrlZ(data, size);
  char* first = static_cast<char*>(std::memchr(data, kCarriageReturn, size));
  if (first == nullptr)
    return size;
  return static_cast<std::size_t>(std::remove(first, data + size, kCarriageReturn) - data);
}

void TextFileReader::ReadFrom(ReadOnlyFile& file, std::uint64_t offset) {
  textSize_ = 0;
  next_ = 0;
  nextReturn_ = 0;
  droppedReturns_.clear();
  startOffset_ = offset;
  endOffset_ = offset;
  const std::uint64_t size = file.Size();
  const std::uint64_t expected = size > offset ? size - offset : 0;
  const auto limit = static_cast<std::size_t>(expected + kTextFileGrowthLimit);
  std::size_t filled = 0;
  const std::size_t wanted = static_cast<std::size_t>(expected) + kGrowthAllowance;
  if (buffer_.size() < wanted)
    buffer_.resize(wanted);
  while (filled < limit) {
    if (filled == buffer_.size())
      buffer_.resize(std::min(buffer_.size() * 2, limit));
    const std::size_t got = file.ReadAt(offset + filled, buffer_.data() + filled,
                                        std::min(buffer_.size(), limit) - filled);
    if (got == 0)
      break;
    filled += got;
  }
  ConvertKeepingPositions(filled);
}

void TextFileReader::ConvertKeepingPositions(std::size_t filled) {
  const std::size_t rawSize = LengthBeforeCtrlZ(buffer_.data(), filled);
  endOffset_ = startOffset_ + rawSize;
  char* data = buffer_.data();
  const char* first = static_cast<const char*>(std::memchr(data, kCarriageReturn, rawSize));
  if (first == nullptr) {
    textSize_ = rawSize;
    return;
  }
  // Move the stretches between carriage returns down, one memmove per stretch.
  std::size_t write = static_cast<std::size_t>(first - data);
  std::size_t read = write;
  while (read < rawSize) {
    droppedReturns_.push_back(write);
    ++read;  // skip the carriage return
    const void* next = std::memchr(data + read, kCarriageReturn, rawSize - read);
    const std::size_t stop =
        next == nullptr ? rawSize : static_cast<std::size_t>(static_cast<const char*>(next) - data);
    std::memmove(data + write, data + read, stop - read);
    write += stop - read;
    read = stop;
  }
  textSize_ = write;
}

bool TextFileReader::NextPiece(std::size_t maxPieceBytes, TextPiece& piece) {
  if (next_ >= textSize_)
    return false;
  const std::size_t limit = std::min(std::max<std::size_t>(maxPieceBytes, 1), textSize_ - next_);
  const char* start = buffer_.data() + next_;
  const void* lineFeed = std::memchr(start, '\n', limit);
  const std::size_t length =
      lineFeed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) + 1
                          : limit;
  next_ += length;
  // Carriage returns dropped before the piece's end lie inside the file part it covers.
  while (nextReturn_ < droppedReturns_.size() && droppedReturns_[nextReturn_] < next_) {
    ++nextReturn_;
  }
  piece.text = std::string_view(start, length);
  piece.fileEnd = startOffset_ + next_ + nextReturn_;
  return true;
}

}  // namespace brontel::platform
