/** @file IndexedLines.h: the lines of a complete view, read from the indexed file on demand. */
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BlockCache.h"
#include "ui/LineSource.h"
#include "ui/LineStore.h"
#include "viewer/FileIndexer.h"

namespace brontel {

// A complete view of a log of any size: lines the viewer puts above the file (the history block
// and its separator), then the file's lines as `indexer` found them (with a filter, the rows it
// lets through: FilteredRows), read through `cache` when they are drawn, searched or copied.
// Only the index, the head lines and the cache's blocks are held. A file cut short or rewritten
// under the view gives lines of their indexed length, filled with blanks where the bytes are
// gone: never stale offsets, never a fault. The lines are those indexed when the source was
// made: the indexer may go on (on the same thread) without changing them.
class IndexedLines : public ui::LineSource {
 public:
  IndexedLines(std::span<const std::string_view> head, std::shared_ptr<const FileIndexer> indexer,
               std::unique_ptr<platform::BlockCache> cache);

  std::size_t Count() const override;
  std::string_view Line(std::size_t i) const override;
  std::size_t LineLength(std::size_t i) const override;
  std::size_t LineStart(std::size_t i) const override;
  std::size_t TextLength() const override;
  std::size_t LineOf(std::size_t offset) const override;
  std::size_t MaxLineLength() const override;
  // Within the file's lines of an unfiltered view, read in one stretch and shown in one pass
  // (a search through the whole view reads it so); elsewhere as any source.
  std::string TextRange(std::size_t from, std::size_t count) const override;

  std::size_t HeadCount() const { return head_.Count(); }
  const FileIndexer& Indexer() const { return *indexer_; }

 private:
  std::size_t BodyCount() const;
  // Row k of the body: a file line, or FilteredRows::kGap; and where it ends in the body's text.
  std::uint64_t RowAt(std::size_t k) const;
  std::uint64_t RowEnd(std::size_t k) const;
  std::size_t BodyLineOf(std::uint64_t offset) const;
  std::string_view FileLine(std::uint64_t line, std::size_t length) const;
  std::string_view Keep(std::string&& line) const;
  // The shown text of file lines [first, last], as Line() and a CR LF gives each.
  std::string FileLinesText(std::size_t first, std::size_t last) const;
  // Puts cursor_ at file line `line`: where it starts in the file and in the shown text. Lines
  // are mostly asked in turn (drawing, searching, copying), a line's end before its start: a
  // line next to the last costs a step, not a walk through its group of the index.
  void SeekLine(std::size_t line) const;

  ui::LineStore head_;
  std::shared_ptr<const FileIndexer> indexer_;
  std::unique_ptr<platform::BlockCache> cache_;
  std::size_t fileLines_;   // indexed when the source was made
  std::uint64_t fileText_;  // their text's length
  bool hasOpenLine_;
  std::string openLine_;                      // the open line as shown
  std::shared_ptr<const FilteredRows> rows_;  // null without a filter
  std::size_t settledRows_ = 0;
  std::vector<std::uint64_t> openRows_;  // the rows after the settled ones, as they were
  std::vector<std::uint64_t> openEnds_;
  struct Cursor {
    std::size_t line = 0;
    std::uint64_t fileStart = 0;
    std::uint64_t textStart = 0;
  };
  mutable Cursor cursor_;
  mutable std::string raw_;
  mutable std::array<std::string, kLineViewsKept> recent_;
  mutable std::size_t nextRecent_ = 0;
};

// A line as read from the file without its line end (CR LF, LF or a lone CR); a piece of a line
// cut for its length has none. No line holds a CR of its own.
std::string_view WithoutLineEnd(std::string_view raw);
// `raw` (a line as read, zero bytes and tabs still in it) as a view shows it.
std::string ShownLine(std::string_view raw);
// The line that stands where a filter hid lines, as a view shows it.
const std::string& ShownGapLine();

}  // namespace brontel
