/** @file LineHistory.h: the lines of the counted message types a viewer has seen, oldest first. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "viewer/GramFilter.h"
#include "viewer/OptionTables.h"

namespace brontel {

class LastLines;
class LineClassifier;

// One viewer window's line history: the lines of the counted message types (positions 0 .. 2 of
// the type list) it has seen since it was opened, oldest first, exactly as read.
//
// The lines are kept as one text, every line followed by CR LF, which is exactly the text the
// duplicate test searches; so the test needs no join per line. An exact-line hash index answers
// the common case (a line seen before) without a scan, a length bound rejects lines longer than
// any history line, a filter of the text's 8-byte runs rejects most new lines (one of their runs
// occurs nowhere in the history), and only what is left is searched in the text.
//
// Ownership: owns its lines. Views returned by Line() and Text() stay valid until the next
// change of the history. Errors: only memory exhaustion throws. Threads: the viewer's UI
// thread only (inside its exclusive section during a tail load).
class LineHistory {
 public:
  static constexpr std::string_view kLineBreak = "\r\n";

  // The limit (`maxHistoryLines`), one of the MaxHistoryLines values; the default item's at first.
  std::int32_t MaxLines() const { return maxLines_; }
  void SetMaxLines(std::int32_t limit) { maxLines_ = limit; }

  // Each line added gets the next sequence number, which no other line gets after it (not after
  // Clear either): a view that shows the lines [first, end) of one moment can tell which of them
  // are still held (the oldest ones may have been dropped) and which lines came since.
  std::uint64_t FirstSequence() const { return firstSeq_; }
  std::uint64_t EndSequence() const { return firstSeq_ + Count(); }

  std::size_t Count() const { return starts_.size(); }
  bool Empty() const { return starts_.empty(); }
  // Line i, oldest first. REQUIRES: i < Count().
  std::string_view Line(std::size_t i) const;
  // Every line followed by CR LF.
  std::string_view Text() const;
  // Views of all lines, oldest first (for assembling a view), valid as Line()'s.
  std::vector<std::string_view> LineViews() const;

  // True when `line` occurs anywhere in Text() (exact, case-sensitive bytes): a line that is a
  // part of a longer history line counts as present, and so does the empty line.
  bool Contains(std::string_view line) const;

  // The history's own addition: false when `line` is present (nothing added); otherwise, when
  // the history holds more than MaxLines() lines, drops the oldest, appends `line` and returns
  // false; else appends and returns true. So the history grows to MaxLines() + 1 lines, and a
  // lowered limit shortens it by one line per later addition.
  bool AddToHistory(std::string_view line);

  // Appends without the duplicate test and without the limit (the complete load's way).
  void Append(std::string_view line);
  // Appends every line of `lines`, oldest first, then drops the oldest beyond `limit` (at least
  // one line stays); `lines` is left empty.
  void AppendAll(LastLines&& lines, std::size_t limit);
  // Room for lines of `bytes` in all (each with its CR LF) to be appended without the text
  // moving: a complete load appends hundreds of thousands of lines at once.
  void Reserve(std::size_t bytes);

  void Clear();

 private:
  std::size_t Begin(std::size_t i) const { return static_cast<std::size_t>(starts_[i] - base_); }
  std::size_t LiveBegin() const { return starts_.empty() ? text_.size() : Begin(0); }
  void DropOldest();
  // Drops the oldest lines while more than `limit` (at least one) are held.
  void DropBeyond(std::size_t limit);
  void CompactIfWorthIt();
  // Room for `bytes` more at the text's end: the dropped lines cut off, or the text grown.
  void MakeRoom(std::size_t bytes);
  bool ExactlyPresent(std::string_view line, std::uint64_t hash) const;
  // Adds the lines appended since the index was last used to it.
  void CatchUpIndex() const;
  // The filter of the live text's runs, built on first use and again once it saturated.
  const GramFilter& Grams() const;

  std::int32_t maxLines_ = MaxHistoryLines[kDefaultMaxHistoryLinesIndex].value;
  // The lines' text, every line followed by CR LF; dropped lines may linger at its front.
  std::string text_;
  std::uint64_t base_ = 0;            // stream offset of text_[0]
  std::deque<std::uint64_t> starts_;  // stream offset of each line
  std::uint64_t firstSeq_ = 0;        // sequence number of the oldest line
  // Hash of a line -> sequence numbers of the lines with that hash, for the lines before
  // indexedSeq_: lines are indexed when the index is next used, so that a complete load, which
  // appends them all and tests none, builds no index.
  mutable std::unordered_multimap<std::uint64_t, std::uint64_t> exact_;
  mutable std::uint64_t indexedSeq_ = 0;
  std::size_t longest_ = 0;  // no line is longer (may be stale-high after dropping lines)
  // Holds every run of text_ (dropped lines' runs may linger); null until a search needs it.
  mutable std::unique_ptr<GramFilter> grams_;
};

// Steps 1 and 2 of AddLoadedLine: counts `line` and, when counted, offers it to the history.
// True when counted.
bool CountIntoHistory(LineClassifier& types, LineHistory& history, std::string_view line);

// A tail line's way into the view: counted when its message type is at position 0, 1 or 2
// (CountLine), then, if counted, offered to the history (AddToHistory), then appended to `list`
// whatever its type.
void AddLoadedLine(LineClassifier& types, LineHistory& history, std::vector<std::string>& list,
                   std::string_view line);

// The complete load's counting: every line of `lines` in order is counted (CountLine); each
// counted line is appended to the history without duplicate test and limit.
void CountCompleteLines(LineClassifier& types, LineHistory& history,
                        std::span<const std::string_view> lines);

}  // namespace brontel
