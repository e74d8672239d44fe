#include "platform/posix/IniFileLines.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/IniFile.h"

namespace brontel::platform::ini_lines {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t FindByte(const std::vector<char>& buffer, std::size_t from, std::size_t to, char c) {
  const void* hit = std::memchr(buffer.data() + from, c, to - from);
  return hit == nullptr ? kNone
                        : static_cast<std::size_t>(static_cast<const char*>(hit) - buffer.data());
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlank(text[first]))
    ++first;
  std::size_t last = text.size();
  while (last > first && IsBlank(text[last - 1]))
    --last;
  return text.substr(first, last - first);
}

bool NamesEqual(std::string_view a, std::string_view b) {
  a = TrimBlanks(a);
  b = TrimBlanks(b);
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i]))
      return false;
  }
  return true;
}

LineReader::LineReader(int fd) : fd_(fd), buffer_(kReadChunk) {}

bool LineReader::Fill() {
  bufferOffset_ += len_;
  pos_ = 0;
  len_ = 0;
  nextLf_ = 0;
  nextCr_ = 0;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got > 0) {
      len_ = static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      failed_ = true;
    return false;
  }
}

// Position of the first CR or LF at or after pos_ in the buffer, kNone when there is none.
// The cached positions keep a file with lone-CR line ends from being rescanned for LF per line.
std::size_t LineReader::FindLineEnd() {
  if (nextLf_ != kNone && nextLf_ < pos_)
    nextLf_ = FindByte(buffer_, pos_, len_, '\n');
  if (nextCr_ != kNone && nextCr_ < pos_)
    nextCr_ = FindByte(buffer_, pos_, len_, '\r');
  if (pos_ == 0) {
    nextLf_ = FindByte(buffer_, 0, len_, '\n');
    nextCr_ = FindByte(buffer_, 0, len_, '\r');
  }
  return std::min(nextLf_, nextCr_);
}

// Adds bytes [from, to) of the buffer to the spilled head of a line that crosses buffers.
void LineReader::Spill(Line& line, std::size_t from, std::size_t to) {
  const std::size_t room = kIniLineHeadLimit - spill_.size();
  if (to - from > room) {
    line.truncated = true;
    to = from + room;
  }
  spill_.append(buffer_.data() + from, to - from);
}

bool LineReader::Next(Line& line) {
  if (pos_ == len_ && !Fill())
    return false;
  line.begin = bufferOffset_ + pos_;
  line.truncated = false;
  bool spilled = false;
  for (;;) {
    const std::size_t stop = FindLineEnd();
    if (stop == kNone) {
      if (!spilled)
        spill_.clear();
      spilled = true;
      Spill(line, pos_, len_);
      pos_ = len_;
      if (!Fill()) {
        line.contentEnd = line.end = bufferOffset_ + len_;
        line.head = spill_;
        return true;
      }
      continue;
    }
    if (spilled) {
      Spill(line, pos_, stop);
      line.head = spill_;
    } else {
      const std::size_t length = std::min(stop - pos_, kIniLineHeadLimit);
      line.truncated = length < stop - pos_;
      line.head = std::string_view(buffer_.data() + pos_, length);
    }
    line.contentEnd = bufferOffset_ + stop;
    const bool carriageReturn = buffer_[stop] == '\r';
    pos_ = stop + 1;
    if (carriageReturn && pos_ == len_) {
      // The head may point into the buffer that Fill overwrites: keep a copy first.
      if (!spilled)
        spill_.assign(line.head);
      line.head = spill_;
      Fill();
    }
    if (carriageReturn && pos_ < len_ && buffer_[pos_] == '\n')
      ++pos_;
    line.end = bufferOffset_ + pos_;
    return true;
  }
}

// Moves pos_ (a line start) to the start of the first line in the buffer that begins with "["
// after blanks and answers true; otherwise moves it to the start of the buffer's last,
// unfinished line and answers false.
bool LineReader::SkipToHeaderInBuffer() {
  for (std::size_t from = pos_; from < len_;) {
    const std::size_t bracket = FindByte(buffer_, from, len_, '[');
    if (bracket == kNone)
      break;
    std::size_t start = bracket;
    while (start > pos_ && IsBlank(buffer_[start - 1]))
      --start;
    if (start == pos_ || buffer_[start - 1] == '\n' || buffer_[start - 1] == '\r') {
      pos_ = start;
      return true;
    }
    from = bracket + 1;
  }
  std::size_t lastStart = len_;
  while (lastStart > pos_ && buffer_[lastStart - 1] != '\n' && buffer_[lastStart - 1] != '\r') {
    --lastStart;
  }
  pos_ = lastStart;
  return false;
}

bool LineReader::NextSectionHeader(Line& line) {
  for (;;) {
    if (pos_ == len_ && !Fill())
      return false;
    const bool found = SkipToHeaderInBuffer();
    // Either the header itself, or the unfinished last line, which may turn out to be one.
    if (pos_ == len_)
      continue;
    if (!Next(line))
      return false;
    if (found || IsSectionHeader(line))
      return true;
  }
}

bool IsSectionHeader(const Line& line) {
  for (const char c : line.head) {
    if (!IsBlank(c))
      return c == '[';
  }
  return false;
}

Parsed ParseLine(const Line& line) {
  Parsed parsed;
  const std::string_view head = line.head;
  std::size_t first = 0;
  while (first < head.size() && IsBlank(head[first]))
    ++first;
  if (first == head.size()) {
    parsed.kind = line.truncated ? LineKind::kUnknown : LineKind::kBlank;
    return parsed;
  }
  if (head[first] == ';') {
    parsed.kind = LineKind::kComment;
    return parsed;
  }
  if (head[first] == '[') {
    parsed.kind = LineKind::kSection;
    const std::size_t close = head.find(']', first + 1);
    parsed.nameKnown = close != std::string_view::npos || !line.truncated;
    const std::size_t nameEnd = close == std::string_view::npos ? head.size() : close;
    parsed.name = TrimBlanks(head.substr(first + 1, nameEnd - first - 1));
    return parsed;
  }
  const std::size_t equals = head.find('=', first);
  if (equals == std::string_view::npos) {
    parsed.kind = line.truncated ? LineKind::kUnknown : LineKind::kKey;
    parsed.name = TrimBlanks(head.substr(first));
    return parsed;
  }
  parsed.kind = LineKind::kKey;
  parsed.name = TrimBlanks(head.substr(first, equals - first));
  parsed.hasValue = true;
  parsed.valueStart = equals + 1;
  while (parsed.valueStart < head.size() && IsBlank(head[parsed.valueStart]))
    ++parsed.valueStart;
  parsed.rawValue = TrimBlanks(head.substr(parsed.valueStart));
  return parsed;
}

std::string ValueOf(const Parsed& parsed, bool* cut) {
  std::string_view value = parsed.rawValue;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (cut != nullptr)
    *cut = value.size() > kIniValueMaxLength;
  return std::string(value.substr(0, kIniValueMaxLength));
}

}  // namespace brontel::platform::ini_lines
