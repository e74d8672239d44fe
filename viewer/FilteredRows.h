/** @file FilteredRows.h: the rows a filtered view shows of a file's indexed lines. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "ui/ChunkedArray.h"
#include "ui/LineIndex.h"

namespace brontel {

// Which of a file's lines a filtered view shows, in file order: each line that passed, up to
// `context` lines before and after it, and a gap row where two shown lines are not adjacent in
// the file. Built line by line as the lines are indexed; holds two numbers a row, never text.
//
// The file's last line, while it has no line end, is taken as the open line: it and the rows it
// brings are taken back by Rewind() when the file grows and that line is read again. Rows below
// Settled() never change.
class FilteredRows {
 public:
  static constexpr std::uint64_t kGap = std::numeric_limits<std::uint64_t>::max();

  explicit FilteredRows(std::size_t context) : context_(context) {}

  // Line `line` of the file (each once, in order; the lines before it already in `index`), of
  // `textBytes` in the view (its line break included), passed the filter or not.
  void Take(std::uint64_t line, bool passes, std::uint64_t textBytes, const ui::LineIndex& index);
  // The same for the open line, which Rewind() takes back.
  void TakeOpen(std::uint64_t line, bool passes, std::uint64_t textBytes,
                const ui::LineIndex& index);
  void Rewind();

  std::size_t Count() const { return rows_.size(); }
  std::size_t Settled() const { return open_ ? open_->rows : rows_.size(); }
  // The file line shown in row i, or kGap.
  std::uint64_t Row(std::size_t i) const { return rows_[i]; }
  // Where row i ends in the view's text of the rows (its line break included).
  std::uint64_t TextEnd(std::size_t i) const { return ends_[i]; }
  // The file lines shown, context included (gap rows not counted).
  std::size_t ShownLines() const { return shownLines_; }

 private:
  struct State {
    std::size_t rows = 0;
    std::size_t shownLines = 0;
    std::size_t after = 0;
    std::optional<std::uint64_t> lastShown;
  };

  void Add(std::uint64_t row, std::uint64_t textBytes);

  std::size_t context_;
  // Chunked: a view that shows most of millions of lines never holds its rows twice over.
  ui::ChunkedArray<std::uint64_t> rows_;
  ui::ChunkedArray<std::uint64_t> ends_;
  std::size_t shownLines_ = 0;
  std::size_t after_ = 0;  // context lines still to show after the last line passed
  std::optional<std::uint64_t> lastShown_;
  std::optional<State> open_;  // as it was before the open line was taken
};

// The view's length of the gap row, its line break included.
std::uint64_t GapRowBytes();

}  // namespace brontel
