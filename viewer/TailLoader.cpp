#include "viewer/TailLoader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>

#include "classify/BufferClassifier.h"
#include "classify/LineClassifier.h"
#include "diagnostics/Debugtimer.h"
#include "platform/ReadOnlyFile.h"
#include "platform/WholeFile.h"
#include "ui/NulBytes.h"
#include "ui/TRAHLEditor.h"
#include "ui/UpdateBracket.h"
#include "viewer/TailText.h"

namespace brontel {
namespace {

void FollowTheEnd(ui::TRAHLEditor& view) {
  const int rows = view.RowCount();
  view.ScrollTo(view.LeftCol(),
                static_cast<int>(FollowTopRow(static_cast<std::size_t>(rows),
                                              static_cast<std::size_t>(view.VisibleRows()))));
  view.MoveCaret(rows - 1, view.CaretCol());
}

}  // namespace

// --- CountedPosition ---------------------------------------------------------------------------

void CountedPosition::Forget() {
  path_.clear();
  from_ = 0;
  to_ = 0;
  checkable_ = false;
  lastText_.clear();
  lastStart_ = 0;
}

void CountedPosition::MarkCounted(const std::string& path, std::uint64_t endOffset) {
  Forget();
  path_ = path;
  to_ = endOffset;
}

bool CountedPosition::Continues(const std::string& path, std::uint64_t size,
                                std::span<const std::string_view> lines,
                                std::span<const FileSpan> spans) const {
  if (path != path_ || size < to_)
    return false;
  if (!checkable_ || spans.empty() || spans.front().start > lastStart_)
    return true;  // the last line counted lies before what was read now: nothing to check by
  for (std::size_t i = 0; i < spans.size() && spans[i].start <= lastStart_; ++i) {
    if (spans[i].start == lastStart_)
      return lines[i].starts_with(lastText_);
  }
  return false;  // no line starts where the last one counted did: other content
}

void CountedPosition::Remember(const std::string& path, std::span<const std::string_view> lines,
                               std::span<const FileSpan> spans, bool continued) {
  if (!continued) {
    Forget();
    path_ = path;
  }
  if (spans.empty())
    return;
  const std::uint64_t start = spans.front().start;
  const std::uint64_t end = spans.back().end;
  const bool joins = from_ == to_ || (start <= to_ && end >= from_);
  from_ = joins && from_ != to_ ? std::min(from_, start) : start;
  if (end >= to_ || !joins) {
    checkable_ = true;
    lastText_ = lines.back();
    lastStart_ = spans.back().start;
  }
  to_ = joins ? std::max(to_, end) : end;
}

// --- TailLoader --------------------------------------------------------------------------------

bool TailLoader::ReadTail(TailViewerState& state, LineClassifier& types) {
  ViewLines& read = read_;
  const std::uint64_t size = state.currentInfo.Size();
  std::uint64_t lineStart = 0;
  const bool opened =
      reader_.Read(state.path, size, state.bufferSize, [&](const TailReader::Line& line) {
        if (read.spans.empty())
          lineStart = reader_.StartOffset();
        read.Add(line.text);
        read.spans.push_back({lineStart, line.fileEnd});
        lineStart = line.fileEnd;
      });
  if (!opened)
    return false;
  const std::span<const std::string_view> lines = read.Views();
  // The file as it is now: it may have changed since the snapshot.
  const std::uint64_t sizeNow = std::max(reader_.EndOffset(), lineStart);
  const bool continued = state.counted.Continues(state.path, sizeNow, lines, read.spans);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!continued || !state.counted.WasCounted(read.spans[i]))
      CountIntoHistory(types, state.history, lines[i]);
  }
  state.counted.Remember(state.path, lines, read.spans, continued);
  if (reader_.Incomplete())
    read.Add(reader_.Limited() ? kTextLimitLine : kUnreadableRestLine);
  if (reader_.Decompressing())
    read.Add(DecompressingLine(reader_.DecompressedPerMille()));
  return true;
}

void TailLoader::ShowView(TailViewerState& state, LineClassifier& types, ui::TRAHLEditor& view,
                          const ui::TRAHLEditor::ViewPlace& place) {
  const std::string counts = types.MsgTypeCountsText();
  const std::string separator = HistorySeparatorLine(counts, state.history.Count());
  const std::string footer = TailFooterLine(counts, read_.Count());
  ui::UpdateBracket bracket(view);
  model_.ShowTail(state.history, separator, read_, footer, types, view);
  // The reader's place is a place in the text: lines added above it (a new history line) or
  // dropped above it (the tail moving on) move it with the lines it stands on.
  view.SetPlace(model_.PlaceAfterShow(place));
  if (state.autoFollow)
    FollowTheEnd(view);
}

void TailLoader::LoadTail(TailViewerState& state, LineClassifier& types, ui::TRAHLEditor& view) {
  DebugTimer timer("LoadTail");
  read_.Clear();
  bool nothingRead = true;
  // Without auto follow the reader keeps their place: the view is rebuilt under it. With auto
  // follow the view starts from its first row and column, then follows the end.
  const ui::TRAHLEditor::ViewPlace place =
      state.autoFollow ? ui::TRAHLEditor::ViewPlace{} : view.Place();
  try {
    ReadFileInfo(state.path, state.currentInfo);
    state.displayName = DisplayNameOf(state.path);
    // Read once a snapshot exists, whatever its date.
    if (!state.currentInfo.path.empty()) {
      std::optional<std::string> status =
          TailStatusText(state.displayName, state.currentInfo, state.bufferSize);
      const bool opened = ReadTail(state, types);
      if (opened)
        nothingRead = read_.ends.empty();
      if (status) {
        if (opened)
          *status += platform::EncodingLabel(reader_.Encoding());
        state.statusText = std::move(*status) + types.ChosenPresetLabel();
      }
    }
  } catch (const std::exception&) {
    // A failed read ends the reading; the view is still rebuilt from what there is.
    nothingRead = read_.ends.empty();
  }
  if (nothingRead)
    read_.Add(kNotFoundLine);
  ShowView(state, types, view, place);
}

// --- complete load -----------------------------------------------------------------------------

namespace {

// The whole file's text, in a buffer with room to spare for expanding its lines in place; a
// compressed text that could not be read to its end ends in a marker line saying so.
platform::WholeText ReadWholeFileWithRoom(const std::string& path) {
  const std::unique_ptr<platform::ReadOnlyFile> file = platform::OpenReadOnlyFile(path);
  // The room is reckoned in 64 bits: on a 32-bit build the sum may not fit, which ReadAllOf
  // then refuses instead of reading a part.
  const std::uint64_t size = file->Size();
  const std::uint64_t room = size + size / 4 + 64 * 1024;
  const std::uint64_t most = std::numeric_limits<std::size_t>::max();
  platform::WholeText whole =
      platform::ReadWholeText(*file, static_cast<std::size_t>(std::min(room, most)));
  if (whole.incomplete) {
    if (!whole.text.empty() && whole.text.back() != '\n' && whole.text.back() != '\r')
      whole.text += '\n';
    whole.text += whole.limited ? kTextLimitLine : kUnreadableRestLine;
  }
  return whole;
}

}  // namespace

std::vector<std::string_view> SplitLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  ui::ScanFileLines(text, [&](std::string_view line) { lines.push_back(line); });
  return lines;
}

std::optional<int> LoadCompleteFile(TailViewerState& state, LineClassifier& types,
                                    ui::TRAHLEditor& view, ViewModel* model) {
  ViewModel unfiltered;
  ViewModel& layout = model ? *model : unfiltered;
  const bool filtering = layout.Filtering();
  state.history.Clear();
  types.ResetMsgTypeCounts();
  platform::WholeText whole = ReadWholeFileWithRoom(state.path);
  std::string& text = whole.text;
  ui::ShowNulBytes(text.data(), text.size());
  BufferClassifier classifier(types, text);
  // The counted lines are gathered first, so that the history's text is made at its size once.
  std::vector<std::string_view> head;
  std::size_t historyBytes = 0;
  layout.StartComplete();
  ui::FileLines lines = ui::ScanFileLines(text, [&](std::string_view line) {
    const int position = classifier.FindMsgType(line);
    if (filtering)
      layout.DecideCompleteLine(line, position);
    if (types.CountType(position)) {
      head.push_back(line);
      historyBytes += line.size() + LineHistory::kLineBreak.size();
    }
  });
  state.history.Reserve(historyBytes);
  for (const std::string_view line : head)
    state.history.Append(line);
  for (std::size_t i = 0; i < head.size(); ++i)
    head[i] = state.history.Line(i);  // the file's text is about to be rearranged
  state.counted.MarkCounted(state.path, whole.end);
  std::string separator;
  if (!head.empty()) {
    separator = std::string(kMarkerPrefix) + types.MsgTypeCountsText() +
                ", HistoryCount:" + std::to_string(head.size());
    head.push_back(separator);
  }
  fileInfo snapshot;
  if (ReadFileInfo(state.path, snapshot)) {
    state.displayName = DisplayNameOf(state.path);
    if (std::optional<std::string> status =
            TailStatusText(state.displayName, snapshot, state.bufferSize))
      state.statusText = std::move(*status) + std::string(platform::EncodingLabel(whole.encoding)) +
                         types.ChosenPresetLabel();
  }
  ui::UpdateBracket bracket(view);
  layout.ShowComplete(head, std::move(text), std::move(lines), view);
  if (head.empty())
    return std::nullopt;
  return static_cast<int>(head.size() - 1);
}

}  // namespace brontel
