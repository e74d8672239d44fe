/** @file ViewModel.h: the layout of a viewer's text view: history, separator, body, footer. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/FileLines.h"
#include "ui/LineMove.h"
#include "ui/TRAHLEditor.h"
#include "viewer/LineFilter.h"
#include "viewer/LineHistory.h"

namespace brontel {

class LineClassifier;

// Where a tail line lies in the file: from its first byte to just past its line feed.
struct FileSpan {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};

// Lines back to back in one text, with where each lies in its file; the viewer's own lines after
// them (an unreadable rest, "file not found") have no place in the file.
struct ViewLines {
  std::string text;
  std::vector<std::size_t> ends;        // where each line ends in `text`
  std::vector<FileSpan> spans;          // one per line read from the file, in file order
  std::vector<std::string_view> views;  // the lines, as Views() last made them

  void Clear();
  void Add(std::string_view line);
  std::size_t Count() const { return ends.size(); }
  std::span<const std::string_view> Views();
};

// The line that stands where a filter hid lines between two it shows.
inline constexpr std::string_view kFilterGapLine = "|\t...";

// One viewer's view as its lines are laid out: the history block (the lines of the counted
// types seen so far), a separator line, the body (the tail's lines, or the whole file's), and,
// in a tail view, a footer. The body is what the filter lets through, with its context lines and
// a gap line (kFilterGapLine) between runs that are not adjacent in the file; without a filter
// it is every line given. The separator and the footer count every line, filtered or not.
//
// The model builds the view itself and, while the view still shows what it built last, brings
// it up to date with one edit (ui::LineEdit): lines still shown stay where they are, so a
// reload that changes little costs little. UI thread only, inside the viewer's exclusive
// section.
class ViewModel {
 public:
  // Takes the filter for the views built from now on (see LineFilter::Set); false with the
  // reason when it is refused, the filter in force then stays.
  bool SetFilter(const ViewFilter& filter, LineClassifier& types, std::string& error);
  const ViewFilter& Filter() const { return filter_.Filter(); }
  bool Filtering() const { return filter_.Active(); }

  // Shows history + separator + the filtered `read` + footer in `view`, taking `read`'s lines
  // (it is left holding other lines). Lines whose message type and text are as the last tail
  // view had them are not matched again.
  void ShowTail(const LineHistory& history, std::string_view separator, ViewLines& read,
                std::string_view footer, LineClassifier& types, ui::TRAHLEditor& view);

  // Whether each line of a complete load passes the filter, asked line by line in file order as
  // the load classifies them (`typePosition` as FindMsgType answers); kept for ShowComplete.
  void StartComplete();
  void DecideCompleteLine(std::string_view line, int typePosition) {
    passes_.push_back(filter_.Passes(line, typePosition));
  }
  // Shows `head` and then the body of the file's text `text` with its `lines`: without a filter
  // built in the text's own buffer, with one only the lines passed (and their context) copied.
  void ShowComplete(std::span<const std::string_view> head, std::string&& text,
                    ui::FileLines&& lines, ui::TRAHLEditor& view);

  // The lines of `lines` the filter shows, their context and the gap lines between, as views
  // into them (all of them without a filter).
  std::vector<std::string_view> FilterLines(std::span<const std::string_view> lines,
                                            LineClassifier& types);

  // The view shows an indexed complete load built elsewhere: `shownLines` of the file's
  // `fileLines` (context included), for the status text.
  void ShowIndexed(std::size_t shownLines, std::size_t fileLines);

  // `place` (taken before the last ShowTail) moved with the lines it stands on: lines added or
  // removed above it move it with them; after a view built afresh it stays as it was.
  ui::TRAHLEditor::ViewPlace PlaceAfterShow(const ui::TRAHLEditor::ViewPlace& place) const;

  // " [filter: S of N lines]": the lines of the file the body shows (context included) and those
  // it was given; empty without a filter.
  std::string FilterStatusText() const;

 private:
  // What the model last showed, while the view it built is unchanged.
  struct Shown {
    const ui::TRAHLEditor* view = nullptr;
    std::uint64_t linesVersion = 0;
    const LineHistory* history = nullptr;
    std::uint64_t firstSequence = 0;  // the history lines shown: [firstSequence, endSequence)
    std::uint64_t endSequence = 0;
  };

  bool StillShows(const LineHistory& history, const ui::TRAHLEditor& view) const;
  // Changes the view built last into history + separator + `next` + footer.
  void EditView(const LineHistory& history, ui::TRAHLEditor& view, std::string_view separator,
                ViewLines& next, std::string_view footer);
  // Which lines of `read` pass, into passes_: reused for the lines shared with the last tail.
  void DecideTail(ViewLines& read, LineClassifier& types);
  // body_ from `read` and passes_: the lines passed, their context and gap lines.
  void BuildFilteredBody(ViewLines& read);
  // The lines to show of `count` whose passes are `passes`: each passed line with its context.
  std::vector<bool> ShownWithContext(const std::vector<bool>& passes, std::size_t count) const;
  // Appends lineAt(i) for each shown line, a gap line between those not adjacent; answers how
  // many lines it appended, gap lines left out.
  template <typename LineAt>
  static std::size_t KeepShown(const std::vector<bool>& shown, LineAt lineAt,
                               std::vector<std::string_view>& kept);

  LineFilter filter_;
  ViewLines body_;                  // the body the view shows, while shown_.view is set
  ViewLines scratch_;               // the next body, while it is built
  ViewLines lastRead_;              // the tail lines last given, with a filter on
  std::vector<bool> lastPasses_;    // which of them passed
  unsigned lastFilterVersion_ = 0;  // the filter they passed
  std::vector<bool> passes_;        // which lines of the load passed
  Shown shown_;
  std::optional<ui::LineMove> lastMove_;  // how the last ShowTail's edit moved the lines
  std::vector<std::string_view> before_;  // reused by each edit of the view
  std::vector<std::string_view> after_;
  std::size_t shownFileLines_ = 0;  // for the status text
  std::size_t givenFileLines_ = 0;
};

}  // namespace brontel
