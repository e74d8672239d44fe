/** @file LineStore.h: the text view's lines in one contiguous buffer with line start offsets. */
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/FileLines.h"
#include "ui/LineSource.h"

namespace brontel::ui {

// A change of a store's lines that keeps most of them where they are: the first `dropFront`
// lines go, the next `keep` stay, `before` follows them, then the run of `runCount` old lines
// from `runFirst` (counted after the drop, at or after `keep`), then `after`; the other old
// lines go. The new lines must not point into the store.
struct LineEdit {
  std::size_t dropFront = 0;
  std::size_t keep = 0;
  std::span<const std::string_view> before;
  std::size_t runFirst = 0;
  std::size_t runCount = 0;
  std::span<const std::string_view> after;
};

// The lines of a text view, stored exactly as the view's whole text: every line followed by
// CR LF, all in one buffer, plus the offset where each line starts. So the whole text and every
// line are views into the buffer (no copy), and a text offset maps to its line by binary
// search. Each tab of an added line is stored as three blanks. Lines dropped at the top leave
// their bytes in front of the text until they are most of the buffer, so that a view whose top
// lines scroll away is not moved for each of them.
//
// Views returned by Text() and Line() stay valid until the next change of the store.
class LineStore final : public LineSource {
 public:
  static constexpr std::string_view kLineBreak = "\r\n";
  static constexpr std::string_view kTabReplacement = "   ";

  void Clear();
  // Replaces all lines; the buffer is sized once for the whole text.
  void Assign(std::span<const std::string> lines);
  void Assign(std::span<const std::string_view> lines);
  void Add(std::string_view line);
  // Keeps the first `count` lines where they are and drops the rest.
  void KeepFirst(std::size_t count);
  // Drops the first `count` lines (all of them when there are fewer).
  void DropFirst(std::size_t count);
  // Applies `edit`, moving only the lines after its kept top lines. REQUIRES: edit.dropFront +
  // edit.runFirst + edit.runCount <= Count() and edit.keep <= edit.runFirst (or no run).
  void Edit(const LineEdit& edit);
  // Replaces all lines with `head`, then the lines of the file text `text`, whose lines start
  // at `lineStarts` (ascending, the first at 0) and end at CR LF, LF or a lone CR (none kept)
  // or at `textEnd` (the text's size, or where its lines end). The lines are expanded in place,
  // from the back, in text's own buffer: no second copy of the text is made while its capacity
  // holds the finished text. `head` must not point into `text` or into this store.
  void AssignInPlace(std::span<const std::string_view> head, std::string&& text,
                     std::size_t textEnd, std::vector<std::size_t>&& lineStarts);
  // The same for the lines ScanFileLines found in `text`: their tab hints spare most lines a
  // search for tabs, and their lists become the view's.
  void AssignInPlace(std::span<const std::string_view> head, std::string&& text, FileLines&& lines);

  std::size_t Count() const override { return starts_.size() - first_; }
  // Line i without its line end. REQUIRES: i < Count().
  std::string_view Line(std::size_t i) const override;
  std::size_t LineLength(std::size_t i) const override;
  // Offset of the first character of line i; Count() gives TextLength().
  std::size_t LineStart(std::size_t i) const override;
  // The whole text: every line followed by CR LF.
  std::string_view Text() const { return std::string_view(text_).substr(front_); }
  std::size_t TextLength() const override { return text_.size() - front_; }
  // The line that holds `offset` (in its characters or its line end); offsets at or past the
  // end of the text give the last line. REQUIRES: !Empty().
  std::size_t LineOf(std::size_t offset) const override;
  // Length of the longest line (for the horizontal scroll range).
  std::size_t MaxLineLength() const override { return maxLineLength_; }
  std::string TextRange(std::size_t from, std::size_t count) const override {
    return std::string(Text().substr(std::min(from, TextLength()), count));
  }

  // Writes every line followed by CR LF to `path`, replacing the file. Throws
  // platform::PlatformError when the file cannot be written.
  void SaveToFile(const std::string& path) const;

  // Appends `text` to the file at `path`. Throws platform::PlatformError.
  static void AppendToFile(const std::string& path, std::string_view text);

  // `line` as the store keeps it: each tab replaced by kTabReplacement.
  static std::string ExpandTabs(std::string_view line);
  // Appends `line` to `out` with every tab shown as kTabReplacement.
  static void AppendTabsExpanded(std::string_view line, std::string& out);
  // Length of ExpandTabs(line) without building it.
  static std::size_t ExpandedLength(std::string_view line);

 private:
  template <typename Lines>
  void AssignLines(const Lines& lines);
  void AppendExpanded(std::string_view line);
  // Where line i starts in text_ (past the dropped bytes); Count() gives text_'s size.
  std::size_t BufferStart(std::size_t i) const;
  // Counts a new line of `length` into the longest length and its lines.
  void NoteLength(std::size_t length);
  // How many of lines [from, to) are `length` long.
  std::size_t LinesOfLength(std::size_t from, std::size_t to, std::size_t length) const;
  // Takes lines [from, to), about to go, out of the count of the longest lines.
  void ForgetLines(std::size_t from, std::size_t to);
  // Finds the longest length afresh once the last line of the old one went.
  void RelearnLongestIfLost();
  // Room for `bytes` more at the end of text_ without moving it; the buffer grows by doubling
  // and leaves the dropped lines behind.
  void MakeRoom(std::size_t bytes);
  // Cuts the dropped lines off the front of the buffer.
  void Compact();
  // Makes the starts count from the buffer's start once the dropped bytes are gone from it.
  void ForgetDropped();

  std::string text_;
  std::vector<std::size_t> starts_;  // where each line starts in text_, the dropped ones first
  std::size_t front_ = 0;            // bytes of dropped lines at the start of text_
  std::size_t first_ = 0;            // entries of dropped lines at the start of starts_
  std::size_t maxLineLength_ = 0;
  std::size_t longestLines_ = 0;  // the lines maxLineLength_ long
};

}  // namespace brontel::ui
