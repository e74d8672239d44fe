/** @file IniFileLines.h: the ini-file line reader and line classification behind IniFile.h. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brontel::platform::ini_lines {

// One physical line of the file: where it lies and the first bytes of its content.
struct Line {
  std::uint64_t begin = 0;       // offset of its first byte
  std::uint64_t contentEnd = 0;  // offset just after its content, before the line end
  std::uint64_t end = 0;         // offset just after its line end (== contentEnd at EOF)
  // The first kIniLineHeadLimit bytes of its content. From LineReader::Next, a view that stays
  // valid until the next call; see StoredLine for a lasting copy.
  std::string_view head;
  bool truncated = false;  // the content is longer than head

  bool HasLineEnd() const { return end != contentEnd; }
};

// A Line that owns its head.
class StoredLine {
 public:
  StoredLine() = default;
  explicit StoredLine(const Line& line) : line_(line), head_(line.head) { line_.head = head_; }
  StoredLine(const StoredLine& other) : StoredLine(other.line_) {}
  StoredLine& operator=(const StoredLine& other) {
    line_ = other.line_;
    head_ = other.head_;
    line_.head = head_;
    return *this;
  }
  const Line& line() const { return line_; }

 private:
  Line line_;
  std::string head_;
};

// Reads the lines of an open file descriptor from its current position, in bounded memory:
// only the head of each line is kept, whatever the line's length. Does not own the descriptor.
// CR LF, LF and a lone CR each end a line.
class LineReader {
 public:
  explicit LineReader(int fd);

  // Fills `line` with the next line; false at the end of the file or after a read error.
  bool Next(Line& line);
  // Skips to the next section header line and fills `line` with it, faster than Next. The
  // offsets of the lines skipped this way may be off by a CR LF split across reads: for
  // lookups only, not for edits.
  bool NextSectionHeader(Line& line);
  // True when reading stopped at an error instead of the end of the file.
  bool failed() const { return failed_; }

 private:
  bool Fill();
  std::size_t FindLineEnd();
  void Spill(Line& line, std::size_t from, std::size_t to);
  bool SkipToHeaderInBuffer();

  int fd_;
  std::vector<char> buffer_;
  std::string spill_;  // the head of a line that crosses the end of the buffer
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::size_t nextLf_ = 0;  // cached positions of the next LF and CR at or after pos_
  std::size_t nextCr_ = 0;
  std::uint64_t bufferOffset_ = 0;
  bool failed_ = false;
};

enum class LineKind { kBlank, kComment, kSection, kKey, kUnknown };

// What a line means. kUnknown: a key line whose name does not end inside the head; it never
// matches. A section header whose name does not end inside the head is a kSection with
// nameKnown false: it ends the section before it and matches no name.
struct Parsed {
  LineKind kind = LineKind::kBlank;
  std::string_view name;  // section or key name, trimmed (views into the line's head)
  bool nameKnown = true;
  bool hasValue = false;       // key line with "="
  std::size_t valueStart = 0;  // index in head just after "=" and the blanks that follow it
  std::string_view rawValue;   // trimmed text after "=", quotes not yet removed
};

Parsed ParseLine(const Line& line);

// True when the line is a section header; a cheaper test than ParseLine.
bool IsSectionHeader(const Line& line);

// The value a read gives for `parsed`: quotes removed, cut to kIniValueMaxLength (*cut, when
// given, tells whether it was).
std::string ValueOf(const Parsed& parsed, bool* cut = nullptr);

std::string_view TrimBlanks(std::string_view text);
bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace brontel::platform::ini_lines
