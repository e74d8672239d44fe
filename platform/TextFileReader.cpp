#include "platform/TextFileReader.h"

#include <algorithm>
#include <cstring>

#include "platform/Utf16Text.h"

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

void TextFileReader::Restart(std::uint64_t offset) {
  textSize_ = 0;
  next_ = 0;
  nextReturn_ = 0;
  droppedReturns_.clear();
  decoded_ = false;
  unitsCounted_ = 0;
  countedTo_ = 0;
  startOffset_ = offset;
  endOffset_ = offset;
}

std::size_t TextFileReader::ReadRaw(ReadOnlyFile& file, std::uint64_t offset, std::string& into) {
  const std::uint64_t size = file.Size();
  const std::uint64_t expected = size > offset ? size - offset : 0;
  const auto limit = static_cast<std::size_t>(expected + kTextFileGrowthLimit);
  std::size_t filled = 0;
  const std::size_t wanted = static_cast<std::size_t>(expected) + kGrowthAllowance;
  if (into.size() < wanted)
    into.resize(wanted);
  while (filled < limit) {
    if (filled == into.size())
      into.resize(std::min(into.size() * 2, limit));
    const std::size_t got =
        file.ReadAt(offset + filled, into.data() + filled, std::min(into.size(), limit) - filled);
    if (got == 0)
      break;
    filled += got;
  }
  return filled;
}

void TextFileReader::ReadFrom(ReadOnlyFile& file, std::uint64_t offset) {
  Restart(offset);
  ConvertKeepingPositions(ReadRaw(file, offset, buffer_));
}

void TextFileReader::ReadUtf16From(ReadOnlyFile& file, std::uint64_t offset, bool bigEndian) {
  std::uint64_t start = std::max<std::uint64_t>(offset, 2);
  start += start % 2;
  Restart(start);
  std::size_t units = ReadRaw(file, start, raw_) / 2;
  std::size_t first = 0;
  if (start > 2 && units > 0 && IsLowSurrogate(Utf16UnitAt(raw_.data(), 0, bigEndian)))
    first = 1;  // the second half of a character that began before the read
  if (units > first && IsHighSurrogate(Utf16UnitAt(raw_.data(), units - 1, bigEndian)))
    --units;  // the first half of a character the writer has not finished
  startOffset_ = start + 2 * first;
  endOffset_ = startOffset_;
  DecodeUtf16(first, units, bigEndian);
}

void TextFileReader::DecodeUtf16(std::size_t first, std::size_t units, bool bigEndian) {
  const std::size_t room = (units - first) * kTextBytesPerUtf16Unit;
  if (buffer_.size() < room)
    buffer_.resize(room);
  decoded_ = true;
  ConvertKeepingPositions(
      Utf16ToText(raw_.data() + 2 * first, units - first, bigEndian, buffer_.data()));
}

GunzipOutcome TextFileReader::ReadGzipTail(ReadOnlyFile& file, std::size_t keepBytes) {
  Restart(0);
  const GunzipOutcome outcome = GunzipTail(file, keepBytes, buffer_);
  startOffset_ = outcome.textSize - buffer_.size();
  ConvertKeepingPositions(buffer_.size());
  return outcome;
}

void TextFileReader::ConvertKeepingPositions(std::size_t filled) {
  const std::size_t rawSize = LengthBeforeCtrlZ(buffer_.data(), filled);
  endOffset_ = startOffset_ + FileBytesOf(std::string_view(buffer_.data(), rawSize));
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
  std::size_t length = limit;
  if (lineFeed != nullptr)
    length = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) + 1;
  else if (decoded_)
    length = WholeCharacterPrefix(std::string_view(start, textSize_ - next_), limit);
  next_ += length;
  // Carriage returns dropped before the piece's end lie inside the file part it covers.
  while (nextReturn_ < droppedReturns_.size() && droppedReturns_[nextReturn_] < next_) {
    ++nextReturn_;
  }
  piece.text = std::string_view(start, length);
  piece.fileEnd = startOffset_ + FileBytesBefore(next_) + (decoded_ ? 2 : 1) * nextReturn_;
  return true;
}

std::uint64_t TextFileReader::FileBytesOf(std::string_view text) const {
  return decoded_ ? 2 * std::uint64_t{Utf16UnitsOf(text)} : text.size();
}

std::uint64_t TextFileReader::FileBytesBefore(std::size_t textPosition) {
  if (!decoded_)
    return textPosition;
  // Pieces come in order, so the units are counted once over the whole text.
  unitsCounted_ +=
      Utf16UnitsOf(std::string_view(buffer_.data() + countedTo_, textPosition - countedTo_));
  countedTo_ = textPosition;
  return 2 * std::uint64_t{unitsCounted_};
}

}  // namespace brontel::platform
