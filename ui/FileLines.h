/** @file FileLines.h: the lines of a file's text, found in one pass, as the view lays them out. */
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#if defined(__GNUC__) && defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brontel::ui {

// What laying out a line needs to know of its tabs: kNoTab, the offset of its only tab plus one
// (up to kLastTabHint), or kSearchTabs when it has more tabs or its tab lies further in. Most
// log lines have no tab or one right after their marker, and are then laid out without a search.
using TabHint = std::uint8_t;
inline constexpr TabHint kNoTab = 0;
inline constexpr TabHint kLastTabHint = 0xFE;
inline constexpr TabHint kSearchTabs = 0xFF;

// The lines of a file's text: a line ends at CR LF, LF or a lone CR (none of them kept), text
// after the last line end is a line of its own. A NUL byte is a byte like any other (the loads
// show them as ShowNulBytes does before the text is scanned). The lines lie back to back from
// the text's start to `end`.
struct FileLines {
  std::vector<std::size_t> starts;  // where each line starts in the text, ascending
  std::vector<TabHint> tabHints;    // one per line
  std::size_t end = 0;              // the text's size
  std::size_t breakBytes = 0;       // the bytes of all line ends (CR LF counts two)
  std::size_t tabs = 0;             // the tabs of all lines

  std::size_t Count() const { return starts.size(); }

  // Appends a line's entries. The lists are reserved once for the lines the first part of a
  // text of `textSize` bytes promises, rather than grown by doubling, each of which copies them
  // into new pages.
  void Add(std::size_t start, TabHint hint, std::size_t textSize) {
    if (starts.size() == starts.capacity())
      Grow(start, textSize);
    starts.push_back(start);
    tabHints.push_back(hint);
  }

 private:
  void Grow(std::size_t start, std::size_t textSize);
};

namespace file_lines {

// The bytes a scan stops at are tab, LF and CR: all at most CR, so one comparison finds them;
// the few other bytes below CR are stopped at and passed over.
inline constexpr unsigned char kHighestStop = '\r';
inline constexpr std::size_t kBlock = 64;

// Bit i set when block[i] is at most kHighestStop, for the `count` (at most kBlock) bytes from
// `block`.
inline std::uint64_t StopsIn(const char* block, std::size_t count) {
#if defined(__GNUC__) && defined(__SSE2__)
  if (count == kBlock) {
    const __m128i highest = _mm_set1_epi8(static_cast<char>(kHighestStop));
    const auto low = [&](std::size_t offset) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + offset));
      return static_cast<std::uint64_t>(static_cast<unsigned>(
                 _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, highest), bytes))))
             << offset;
    };
    return low(0) | low(16) | low(32) | low(48);
  }
#endif
  std::uint64_t stops = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (static_cast<unsigned char>(block[i]) <= kHighestStop)
      stops |= std::uint64_t{1} << i;
  }
  return stops;
}

// Of the `count` (at most kBlock) bytes from `block`: bit i of `stops` set as StopsIn sets it,
// except for a tab, whose bit is set in `tabs` instead. A scan that only counts a line's tabs
// then stops at its end alone (and at the few other bytes below CR, which it passes over).
struct StopsAndTabs {
  std::uint64_t stops = 0;
  std::uint64_t tabs = 0;
};
inline StopsAndTabs StopsAndTabsIn(const char* block, std::size_t count) {
#if defined(__GNUC__) && defined(__SSE2__)
  if (count == kBlock) {
    const __m128i highest = _mm_set1_epi8(static_cast<char>(kHighestStop));
    const __m128i tab = _mm_set1_epi8('\t');
    std::uint64_t low = 0;
    std::uint64_t tabs = 0;
    const auto scan = [&](std::size_t offset) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + offset));
      low |= static_cast<std::uint64_t>(static_cast<unsigned>(
                 _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, highest), bytes))))
             << offset;
      tabs |= static_cast<std::uint64_t>(
                  static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab))))
              << offset;
    };
    scan(0);
    scan(16);
    scan(32);
    scan(48);
    return {low & ~tabs, tabs};
  }
#endif
  StopsAndTabs found;
  for (std::size_t i = 0; i < count; ++i) {
    if (block[i] == '\t')
      found.tabs |= std::uint64_t{1} << i;
    else if (static_cast<unsigned char>(block[i]) <= kHighestStop)
      found.stops |= std::uint64_t{1} << i;
  }
  return found;
}

// The state of a scan between the bytes it stops at.
class LineSplitter {
 public:
  LineSplitter(std::string_view text, FileLines& lines)
      : begin_(text.data()), lineStart_(text.data()), textSize_(text.size()), lines_(lines) {}

  // Handles the stop at `at`.
  template <typename Take>
  void Stop(const char* at, Take& take) {
    switch (*at) {
      case '\n':
        ++lines_.breakBytes;
        if (at - 1 == lastCr_) {
          lineStart_ = at + 1;  // the LF of a CR LF: the line ended at its CR
          return;
        }
        break;
      case '\r':
        ++lines_.breakBytes;
        lastCr_ = at;
        break;
      case '\t':
        ++lines_.tabs;
        if (firstTab_ == nullptr)
          firstTab_ = at;
        else
          moreTabs_ = true;
        return;
      default:
        return;
    }
    EndLine(at, take);
  }

  // Ends the scan at `end`: text after the last line end is a line of its own.
  template <typename Take>
  void Finish(const char* end, Take& take) {
    if (lineStart_ < end)
      EndLine(end, take);
    lines_.end = static_cast<std::size_t>(end - begin_);
  }

 private:
  template <typename Take>
  void EndLine(const char* lineEnd, Take& take) {
    TabHint hint = kNoTab;
    if (firstTab_ != nullptr)
      hint = moreTabs_ || firstTab_ - lineStart_ >= kLastTabHint
                 ? kSearchTabs
                 : static_cast<TabHint>(firstTab_ - lineStart_ + 1);
    lines_.Add(static_cast<std::size_t>(lineStart_ - begin_), hint, textSize_);
    take(std::string_view(lineStart_, static_cast<std::size_t>(lineEnd - lineStart_)));
    lineStart_ = lineEnd + 1;
    firstTab_ = nullptr;
    moreTabs_ = false;
  }

  const char* begin_;
  const char* lineStart_;
  const char* firstTab_ = nullptr;
  const char* lastCr_ = nullptr;
  bool moreTabs_ = false;
  std::size_t textSize_;
  FileLines& lines_;
};

}  // namespace file_lines

// Finds the lines of `text` in one pass over its bytes, which looks for line ends and tabs at
// once, sixteen bytes at a time, and calls take(line) with each line in order (a
// view into `text`).
template <typename Take>
FileLines ScanFileLines(std::string_view text, Take&& take) {
  namespace fl = file_lines;
  FileLines lines;
  fl::LineSplitter splitter(text, lines);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* block = begin; block < end; block += fl::kBlock) {
    const std::size_t count = std::min(fl::kBlock, static_cast<std::size_t>(end - block));
    for (std::uint64_t stops = fl::StopsIn(block, count); stops != 0; stops &= stops - 1) {
      splitter.Stop(block + std::countr_zero(stops), take);
    }
  }
  splitter.Finish(end, take);
  return lines;
}

inline FileLines ScanFileLines(std::string_view text) {
  return ScanFileLines(text, [](std::string_view) {});
}

}  // namespace brontel::ui
