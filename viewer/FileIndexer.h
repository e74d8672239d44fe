/** @file FileIndexer.h: the lines of a log file found, counted and indexed a stretch at a time. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "classify/LineClassifier.h"
#include "platform/LargeBlock.h"
#include "platform/ReadOnlyFile.h"
#include "ui/LineIndex.h"
#include "viewer/FilteredRows.h"
#include "viewer/LastLines.h"
#include "viewer/LineFilter.h"

namespace brontel {

// Reads a file front to back in stretches of kStretch bytes, splitting it into lines as a
// string list loads a file (CR LF, LF or a lone CR end a line, none kept; text after the last
// line end is a line of its own), and for every line records its length in a LineIndex, counts
// it with its own message types and keeps the last `historyLimit` counted lines. Only the
// stretch being read is held, never the text. Zero bytes read as ui::kNulPlaceholder; a line longer
// than LineIndex::kMaxLineBytes is cut into pieces that long.
//
// The last line of the file is indexed only once its line end is read: until then it is the
// open line, shown after the indexed ones. Extend() goes on from there when the file grew, so
// the open line, completed, is counted again as a line of its own (as the tail load does).
//
// Threads: owned by one thread at a time; the progress counters may be read from any.
class FileIndexer {
 public:
  static constexpr std::size_t kStretch = 1 << 20;
  // A goal for Extend: on until a read comes short (a decoded file, whose size grows as it is
  // read).
  static constexpr std::uint64_t kToTheEnd = ~std::uint64_t{0};

  // Indexes `file` from `from` (past a byte-order mark) up to its size now. `types` must hold
  // its message types already (they are not loaded from the settings here).
  FileIndexer(std::unique_ptr<platform::ReadOnlyFile> file, std::unique_ptr<LineClassifier> types,
              std::size_t historyLimit, std::uint64_t from);

  // Decides from now on which lines a filtered view shows (Rows()). Before the first Step.
  void SetFilter(std::unique_ptr<LineFilter> filter);
  // Another filter with the rows it shows of the lines indexed so far (FilterPass), or none
  // (both null). Views made before keep the rows they read.
  void ReplaceFilter(std::unique_ptr<LineFilter> filter, std::unique_ptr<FilteredRows> rows);
  // The rows a filtered view shows, or null without a filter.
  const FilteredRows* Rows() const { return rows_.get(); }
  std::shared_ptr<const FilteredRows> SharedRows() const { return rows_; }

  // Reads and indexes the next stretch; false once the goal is reached (nothing was read).
  // Throws PlatformError when a read fails.
  bool Step();
  bool Finished() const { return offset_ >= goal_ && pendingSize_ == 0; }
  // Goes on to `size` (the file grew); the open line is read again as the start of what follows.
  void Extend(std::uint64_t size);

  // How far the reading got, and where it ends, in file bytes.
  std::uint64_t Offset() const { return offset_; }
  std::uint64_t Goal() const { return goal_; }

  const ui::LineIndex& Index() const { return index_; }
  // The last line when it has no line end yet (shown as read, zero bytes replaced), or empty.
  const std::string& OpenLine() const { return openLine_; }
  bool HasOpenLine() const { return hasOpenLine_; }
  // The last historyLimit counted lines indexed since the history was last taken, oldest first.
  const LastLines& History() const { return history_; }
  LastLines& History() { return history_; }
  LineClassifier& Types() { return *types_; }
  // The longest line as shown (tabs as three blanks).
  std::size_t MaxLineLength() const { return maxLineLength_; }
  platform::ReadOnlyFile& File() { return *file_; }

 private:
  // Splits pending_ into lines up to its last line end (all of it at the goal), indexing and
  // counting each; what is left waits for the next stretch.
  void ScanPending(bool atEnd);
  void TakeLine(std::string_view line, std::size_t fileBytes, std::size_t tabs, int position);
  // Room for `bytes` of pending text, what is pending kept.
  void ReservePending(std::size_t bytes);

  std::unique_ptr<platform::ReadOnlyFile> file_;
  std::unique_ptr<LineClassifier> types_;
  std::uint64_t offset_;
  std::uint64_t goal_;
  // Read but not yet split: a part of a line at most, between steps. Not a string, whose
  // resize would fill each stretch with zeros before it is read into.
  platform::LargeBlock pending_;
  std::size_t pendingSize_ = 0;
  ui::LineIndex index_;
  std::string openLine_;
  std::string previousOpenLine_;  // counted before Extend(): not counted again unchanged
  bool hasOpenLine_ = false;
  LastLines history_;
  std::size_t maxLineLength_ = 0;
  std::unique_ptr<LineFilter> filter_;
  std::shared_ptr<FilteredRows> rows_;
};

}  // namespace brontel
