/** @file LineIndex.h: where the lines of a file start, packed to about a byte and a half a line. */
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "ui/ChunkedArray.h"

namespace brontel::ui {

// The lines of a file by their lengths: where each lies in the file (its line end included) and
// where it lies in the text a view shows of it (tabs expanded, each line followed by CR LF).
//
// Packing: lines are kept in groups of kGroup; a group holds its first line's file and text
// offsets, and each line one byte of its file length (longer lines are kept aside). When every
// line of a group is shown a fixed number of bytes longer or shorter than it is in the file (the
// usual case: the same line end throughout and no tab) the group stores that difference;
// otherwise one more byte a line holds each line's difference (lines with many tabs kept
// aside). So a log of short lines costs 1.4 to 2.4 bytes a line, and no log more than 8.
//
// Offsets are asked for by line (a sum over at most one group) and lines by text offset (a
// binary search over the groups). Not thread-safe: one thread builds it, and others read it only
// once it is handed over.
class LineIndex {
 public:
  static constexpr std::size_t kGroup = 64;
  // Longer lines do not fit an entry: the one who indexes cuts them into pieces this long.
  static constexpr std::uint64_t kMaxLineBytes = std::uint64_t{1} << 26;

  // The first line starts at `offset` in the file (after a byte-order mark, say). Only before
  // the first Add.
  void StartAt(std::uint64_t offset);
  // Appends a line of `fileBytes` in the file (its line end included) whose shown text takes
  // `textBytes` (its CR LF included). REQUIRES: both at most kMaxLineBytes + 2.
  void Add(std::uint32_t fileBytes, std::uint32_t textBytes);
  void Clear();

  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }
  // Where line i starts in the file; Count() gives where the last one ends.
  std::uint64_t FileStart(std::size_t i) const;
  std::uint32_t FileBytes(std::size_t i) const;
  // Where line i starts in the shown text; Count() gives the text's length.
  std::uint64_t TextStart(std::size_t i) const;
  // The shown bytes of line i (its CR LF included): TextStart(i + 1) - TextStart(i), at once.
  std::uint32_t TextBytes(std::size_t i) const;
  std::uint64_t TextLength() const { return textEnd_; }
  std::uint64_t FileEnd() const { return fileEnd_; }
  // The line whose shown text (or CR LF) holds `offset`; offsets at or past the end give the
  // last line. REQUIRES: !Empty().
  std::size_t LineOfText(std::uint64_t offset) const;

  // Calls take(line, FileBytes(line), TextBytes(line)) for each line of [first, last) in turn, at
  // less cost than asking line by line. REQUIRES: last <= Count().
  template <typename Take>
  void ForEachLine(std::size_t first, std::size_t last, Take&& take) const {
    std::size_t line = first;
    fileBytes_.ForEachRun(first, last, [&](const std::uint8_t* fileBytes, std::size_t count) {
      const Group* group = &groups_[line / kGroup];
      for (const std::uint8_t* const end = fileBytes + count; fileBytes != end; ++fileBytes) {
        if (line % kGroup == 0)
          group = &groups_[line / kGroup];
        const std::uint32_t bytes = *fileBytes != kLongLine ? *fileBytes : FileBytes(line);
        // The group being filled is never regular yet.
        take(line, bytes,
             group->textDelta != kIrregular
                 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(bytes) + group->textDelta)
                 : TextBytes(line));
        ++line;
      }
    });
  }

  // Bytes the index holds, for the memory it is reckoned to take.
  std::size_t MemoryBytes() const;

 private:
  static constexpr std::uint8_t kLongLine = 0xFF;
  // A line is never shown shorter than it is in the file (its line end becomes CR LF, each tab
  // three blanks); the bias is a margin all the same.
  static constexpr std::int64_t kDeltaBias = 2;
  static constexpr std::uint8_t kLongDelta = 0xFF;
  static constexpr std::int32_t kIrregular = std::numeric_limits<std::int32_t>::min();
  struct Group {
    std::uint64_t fileStart = 0;
    std::uint64_t textStart = 0;
    // Shown bytes minus file bytes of every line, or kIrregular: see textLengths.
    std::int32_t textDelta = kIrregular;
    std::uint32_t textLengthsAt = 0;  // in groups of kGroup entries of textDeltas_
  };

  // Ends the group that just got its last line: regular, or its text lengths kept.
  void CloseGroup();

  // Chunked: a large index grows a block at a time and is never copied into a buffer half again
  // its size (which would hold both at the peak).
  ChunkedArray<std::uint8_t> fileBytes_;
  std::vector<std::pair<std::size_t, std::uint32_t>> longLines_;  // line, file bytes
  ChunkedArray<Group> groups_;
  // Of the irregular groups, kGroup each: shown bytes minus file bytes plus kDeltaBias, or
  // kLongDelta with the text length kept aside in longText_.
  ChunkedArray<std::uint8_t> textDeltas_;
  std::vector<std::pair<std::size_t, std::uint32_t>> longText_;  // line, shown bytes
  // The group being filled: its lines' lengths, and whether all so far are shown the same
  // number of bytes longer than they are in the file (then openDelta_).
  std::array<std::uint32_t, kGroup> openText_{};
  std::array<std::uint32_t, kGroup> openFile_{};
  std::int64_t openDelta_ = 0;
  bool openRegular_ = true;
  std::size_t count_ = 0;
  std::uint64_t fileStart_ = 0;
  std::uint64_t fileEnd_ = 0;
  std::uint64_t textEnd_ = 0;
};

}  // namespace brontel::ui
