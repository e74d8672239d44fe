/** @file LineSource.h: the lines a text view draws from, wherever they are kept. */
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brontel::ui {

// The lines a text view shows, as the view lays them out: each tab already three blanks, no
// zero byte, and the view's whole text being every line followed by CR LF. The lines may be
// held in memory (the tail view) or read from a file on demand (the complete view of a log of
// any size), so the whole text is never asked for at once; a view asks for lines and stretches.
//
// A view returned by Line() stays valid at least until kLineViewsKept more calls of Line() on
// the same source, or a change of it. Threads: the view's UI thread only.
class LineSource {
 public:
  static constexpr std::size_t kLineViewsKept = 8;

  virtual ~LineSource() = default;

  virtual std::size_t Count() const = 0;
  bool Empty() const { return Count() == 0; }
  // Line i without its line end. REQUIRES: i < Count().
  virtual std::string_view Line(std::size_t i) const = 0;
  virtual std::size_t LineLength(std::size_t i) const { return Line(i).size(); }
  // Offset of the first character of line i in the whole text; Count() gives TextLength().
  virtual std::size_t LineStart(std::size_t i) const = 0;
  virtual std::size_t TextLength() const = 0;
  // The line that holds `offset` (in its characters or its line end); offsets at or past the
  // end of the text give the last line. REQUIRES: !Empty().
  virtual std::size_t LineOf(std::size_t offset) const = 0;
  // Length of the longest line (for the horizontal scroll range).
  virtual std::size_t MaxLineLength() const = 0;

  // `count` characters of the whole text from `from` (fewer at its end).
  virtual std::string TextRange(std::size_t from, std::size_t count) const;
};

}  // namespace brontel::ui
