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

}  // namespace

std::size_t ConvertToTextMode(char* data, std::size_t size) {
  if (const void* end = std::memchr(data, kCtrlZ, size)) {
    size = static_cast<std::size_t>(static_cast<const char*>(end) - data);
  }
  char* first = static_cast<char*>(std::memchr(data, kCarriageReturn, size));
  if (first == nullptr)
    return size;
  return static_cast<std::size_t>(std::remove(first, data + size, kCarriageReturn) - data);
}

void TextFileReader::ReadFrom(std::uint64_t offset) {
  textSize_ = 0;
  next_ = 0;
  const std::uint64_t size = file_.Size();
  const std::uint64_t expected = size > offset ? size - offset : 0;
  std::size_t filled = 0;
  buffer_.resize(static_cast<std::size_t>(expected) + kGrowthAllowance);
  for (;;) {
    if (filled == buffer_.size())
      buffer_.resize(buffer_.size() * 2);
    const std::size_t got =
        file_.ReadAt(offset + filled, buffer_.data() + filled, buffer_.size() - filled);
    if (got == 0)
      break;
    filled += got;
  }
  textSize_ = ConvertToTextMode(buffer_.data(), filled);
}

bool TextFileReader::NextPiece(std::size_t maxPieceBytes, std::string_view& piece) {
  if (next_ >= textSize_)
    return false;
  const std::size_t limit = std::min(std::max<std::size_t>(maxPieceBytes, 1), textSize_ - next_);
  const char* start = buffer_.data() + next_;
  const void* lineFeed = std::memchr(start, '\n', limit);
  const std::size_t length =
      lineFeed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) + 1
                          : limit;
  piece = std::string_view(start, length);
  next_ += length;
  return true;
}

}  // namespace brontel::platform
