/** @file TailLoader.h: filling a viewer's text view from the end of its log file. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/TRAHLEditor.h"
#include "viewer/FileInfo.h"
#include "viewer/LineHistory.h"
#include "viewer/OptionTables.h"
#include "viewer/TailReader.h"
#include "viewer/ViewModel.h"

namespace brontel {

class LineClassifier;

// Which part of its file the loads of one viewer have counted, so that every line of the
// file is counted (and offered to the history) once, however often its tail is read again:
// - a line lying wholly inside the stretch counted so far is shown but not counted again;
//   lines before it (a larger buffer reads further back) and after it (the file grew) are new;
// - counting starts again (every line read is new) when the path changed, the file became
//   shorter than the counted stretch, or the last line counted is no longer where it was (the
//   file was replaced);
// - a last line without a line feed is counted when it is read; when the writer later
//   completes it, the completed line is a new line and is counted too.
// When a load reads nothing of the stretch counted before (the file grew by more than the
// buffer), the stretch becomes what that load read.
class CountedPosition {
 public:
  // Nothing counted yet: every line is new.
  void Forget();
  // Everything of `path` up to `endOffset` counted (after a complete load).
  void MarkCounted(const std::string& path, std::uint64_t endOffset);

  // Whether the count so far still holds for a load of `path` (now `size` bytes) that read
  // `lines` at `spans` (file order, same length).
  bool Continues(const std::string& path, std::uint64_t size,
                 std::span<const std::string_view> lines, std::span<const FileSpan> spans) const;
  // Whether a line at `span` was counted before (only meaningful when the count continues).
  bool WasCounted(const FileSpan& span) const { return span.start >= from_ && span.end <= to_; }
  // Records a load as counted; `continued` is what Continues answered for it.
  void Remember(const std::string& path, std::span<const std::string_view> lines,
                std::span<const FileSpan> spans, bool continued);

  std::uint64_t From() const { return from_; }
  std::uint64_t To() const { return to_; }

 private:
  std::string path_;
  std::uint64_t from_ = 0;  // the counted stretch: [from_, to_)
  std::uint64_t to_ = 0;
  bool checkable_ = false;  // lastText_ and lastStart_ describe the last line counted
  std::string lastText_;
  std::uint64_t lastStart_ = 0;
};

// The viewer state a tail load reads and writes; held by the viewer window.
struct TailViewerState {
  std::string path;         // full path of the shown file
  std::string displayName;  // file-name part of path, set by each load
  std::int32_t bufferSize = BufferSizes[kDefaultBufferSizeIndex].value;
  fileInfo currentInfo;     // snapshot taken by the last tail load
  LineHistory history;      // its MaxLines() is `maxHistoryLines`
  bool autoFollow = false;  // "Options.AutoFollowMode": scroll to the end after each load
  std::string statusText;   // the caption the window shows in Label2
  CountedPosition counted;  // how far lines were counted
};

// The tail load of one viewer window. Keep one per window: its read buffer is reused by every
// load, and its model lays out the view. UI thread only, inside the viewer's exclusive section.
class TailLoader {
 public:
  // Rebuilds `view` as history block + separator + tail lines + footer (see ViewModel) from the
  // last state.bufferSize bytes of state.path (the true end of a file of any size), counting new
  // lines with `types`, feeding state.history, refreshing state.currentInfo,
  // state.displayName and state.statusText (once a snapshot was ever taken), then
  // following the end when state.autoFollow is on; otherwise the view keeps its top row, left
  // column, caret and selection (each limited to the new lines). Timed as "LoadTail". A file that
  // is missing, unreadable or empty shows the line "|\tFILE IS EMPTY OR FILE NOT FOUND!" in place
  // of the tail. Never throws for file trouble; memory exhaustion escapes.
  void LoadTail(TailViewerState& state, LineClassifier& types, ui::TRAHLEditor& view);
  // A compressed log is still being decompressed in the background: load again soon.
  bool Unfinished() const { return reader_.Decompressing(); }

  // The layout of the views this loader builds, and of the complete views built for its window.
  ViewModel& Model() { return model_; }
  const ViewModel& Model() const { return model_; }

 private:
  // Reads the tail lines into read_ and counts the new ones; false when the file could not be
  // opened.
  bool ReadTail(TailViewerState& state, LineClassifier& types);
  void ShowView(TailViewerState& state, LineClassifier& types, ui::TRAHLEditor& view,
                const ui::TRAHLEditor::ViewPlace& place);

  TailReader reader_;
  ViewLines read_;  // the lines of the current load
  ViewModel model_;
};

// The lines of a whole file's text: ends at CR LF, LF or a lone CR (none kept), no empty line
// after a line end at the very end; a NUL byte is a byte like others. Views into `text`.
std::vector<std::string_view> SplitLineViews(std::string_view text);

// The complete load's reading and view: clears state.history and the counts, reads the whole
// of state.path (opened read-only, sharing read and write with its writer), counts every line
// (CountCompleteLines) and shows history + "|\t" counts ", HistoryCount:" h + all lines, or
// only the file's lines when the history stays empty. Marks the whole file as counted for
// later tail loads. state.displayName and state.statusText become those a tail load would
// show for the file now; state.currentInfo stays (so auto tail reloads after it). Answers the
// separator's row, nullopt without one. Throws platform::PlatformError when the file cannot
// be opened or read: the history and counts are then already empty and the view keeps its
// lines. The lines are found, counted and classified in one pass over the text read; the view's
// text is then built in the buffer the file was read into (no second copy of the text);
// besides it, only one offset and one tab hint per line are held.
// The body is what `model`'s filter lets through (all lines without a model).
std::optional<int> LoadCompleteFile(TailViewerState& state, LineClassifier& types,
                                    ui::TRAHLEditor& view, ViewModel* model = nullptr);

}  // namespace brontel
