#include "viewer/ViewModel.h"

#include <algorithm>

namespace brontel {
namespace {

// Lines [newFirst, newFirst + count) of a load equal lines [shownFirst, shownFirst + count) of
// the load shown before.
struct SharedRun {
  std::size_t newFirst = 0;
  std::size_t shownFirst = 0;
  std::size_t count = 0;
};

// The lines two loads share, found where the file offsets say they should be and taken only as
// far as their texts are equal: a tail that moved on by a few lines keeps all others. A load
// starts inside a line, so its first line is usually a part of a shown one and its second the
// first to match.
SharedRun FindSharedRun(std::span<const std::string_view> shown,
                        std::span<const FileSpan> shownSpans, std::span<const std::string_view> now,
                        std::span<const FileSpan> nowSpans) {
  SharedRun best;
  for (std::size_t first = 0; first < std::min<std::size_t>(2, nowSpans.size()); ++first) {
    const auto at = std::lower_bound(
        shownSpans.begin(), shownSpans.end(), nowSpans[first].start,
        [](const FileSpan& span, std::uint64_t start) { return span.start < start; });
    if (at == shownSpans.end() || at->start != nowSpans[first].start)
      continue;
    const auto shownFirst = static_cast<std::size_t>(at - shownSpans.begin());
    std::size_t count = 0;
    while (first + count < now.size() && shownFirst + count < shown.size() &&
           now[first + count] == shown[shownFirst + count])
      ++count;
    if (count > best.count)
      best = {first, shownFirst, count};
  }
  return best;
}

// Swaps two sets of lines; their views are made afresh (a short text moved with its object).
void SwapLines(ViewLines& a, ViewLines& b) {
  std::swap(a, b);
  a.views.clear();
  b.views.clear();
}

// Line i of a file's text as ScanFileLines found it, without its line end.
std::string_view FileLine(std::string_view text, const ui::FileLines& lines, std::size_t i) {
  const std::size_t start = lines.starts[i];
  std::size_t end = i + 1 < lines.Count() ? lines.starts[i + 1] : lines.end;
  if (end > start && text[end - 1] == '\n')
    --end;
  if (end > start && text[end - 1] == '\r')
    --end;
  return text.substr(start, end - start);
}

}  // namespace

// --- ViewLines --------------------------------------------------------------------------------

void ViewLines::Clear() {
  text.clear();
  ends.clear();
  spans.clear();
  views.clear();
}

void ViewLines::Add(std::string_view line) {
  text.append(line);
  ends.push_back(text.size());
}

std::span<const std::string_view> ViewLines::Views() {
  if (views.size() != ends.size()) {
    views.clear();
    std::size_t start = 0;
    for (const std::size_t end : ends) {
      views.emplace_back(text.data() + start, end - start);
      start = end;
    }
  }
  return views;
}

// --- ViewModel --------------------------------------------------------------------------------

bool ViewModel::SetFilter(const ViewFilter& filter, LineClassifier& types, std::string& error) {
  return filter_.Set(filter, types, error);
}

std::string ViewModel::FilterStatusText() const {
  if (!Filtering())
    return {};
  return " [filter: " + std::to_string(shownFileLines_) + " of " + std::to_string(givenFileLines_) +
         " lines]";
}

std::vector<bool> ViewModel::ShownWithContext(const std::vector<bool>& passes,
                                              std::size_t count) const {
  const auto context = static_cast<std::size_t>(filter_.Filter().context);
  std::vector<bool> shown(count, false);
  std::size_t after = 0;  // context lines still to show after the last line passed
  for (std::size_t i = 0; i < count; ++i) {
    if (passes[i]) {
      for (std::size_t j = i > context ? i - context : 0; j < i; ++j)
        shown[j] = true;
      shown[i] = true;
      after = context;
    } else if (after > 0) {
      shown[i] = true;
      --after;
    }
  }
  return shown;
}

bool ViewModel::StillShows(const LineHistory& history, const ui::TRAHLEditor& view) const {
  const Shown& shown = shown_;
  return shown.view == &view && view.LinesVersion() == shown.linesVersion &&
         shown.history == &history && history.FirstSequence() >= shown.firstSequence &&
         history.EndSequence() >= shown.endSequence &&
         view.LineCount() == shown.endSequence - shown.firstSequence + body_.Count() + 2;
}

void ViewModel::EditView(const LineHistory& history, ui::TRAHLEditor& view,
                         std::string_view separator, ViewLines& next, std::string_view footer) {
  const Shown& shown = shown_;
  // The history lines shown that are still held stay; the lines added since follow them.
  const std::uint64_t firstKept = std::max(shown.firstSequence, history.FirstSequence());
  const std::uint64_t keptEnd = std::max(firstKept, shown.endSequence);
  ui::LineEdit edit;
  edit.dropFront =
      static_cast<std::size_t>(std::min(firstKept, shown.endSequence) - shown.firstSequence);
  edit.keep = static_cast<std::size_t>(keptEnd - firstKept);
  before_.clear();
  for (std::uint64_t sequence = keptEnd; sequence < history.EndSequence(); ++sequence)
    before_.push_back(history.Line(static_cast<std::size_t>(sequence - history.FirstSequence())));
  before_.push_back(separator);
  const std::span<const std::string_view> lines = next.Views();
  const SharedRun run = FindSharedRun(body_.Views(), body_.spans, lines, next.spans);
  before_.insert(before_.end(), lines.begin(),
                 lines.begin() + static_cast<std::ptrdiff_t>(run.newFirst));
  edit.runFirst = edit.keep + 1 + run.shownFirst;
  edit.runCount = run.count;
  after_.assign(lines.begin() + static_cast<std::ptrdiff_t>(run.newFirst + run.count), lines.end());
  after_.push_back(footer);
  edit.before = before_;
  edit.after = after_;
  lastMove_ = ui::LineMove::Of(edit);
  view.EditLines(edit);
}

void ViewModel::DecideTail(ViewLines& read, LineClassifier& types) {
  const std::span<const std::string_view> lines = read.Views();
  const std::size_t fileLines = read.spans.size();
  passes_.assign(read.Count(), true);
  std::vector<bool> decided(fileLines, false);
  if (lastFilterVersion_ == filter_.Version()) {
    const SharedRun run = FindSharedRun(lastRead_.Views(), lastRead_.spans, lines, read.spans);
    for (std::size_t k = 0; k < run.count && run.newFirst + k < fileLines; ++k) {
      passes_[run.newFirst + k] = lastPasses_[run.shownFirst + k];
      decided[run.newFirst + k] = true;
    }
  }
  for (std::size_t i = 0; i < fileLines; ++i) {
    if (!decided[i])
      passes_[i] = filter_.Passes(lines[i], types);
  }
  lastFilterVersion_ = filter_.Version();
}

void ViewModel::BuildFilteredBody(ViewLines& read) {
  const std::span<const std::string_view> lines = read.Views();
  const std::size_t fileLines = read.spans.size();
  const std::vector<bool> shown = ShownWithContext(passes_, fileLines);
  ViewLines& body = scratch_;
  body.Clear();
  std::size_t shownCount = 0;
  std::optional<std::size_t> previous;
  for (std::size_t i = 0; i < fileLines; ++i) {
    if (!shown[i])
      continue;
    if (previous && *previous + 1 != i) {
      // Its place lies between the lines around it, so the body's places stay in file order.
      const std::uint64_t at = read.spans[*previous].end;
      body.Add(kFilterGapLine);
      body.spans.push_back({at, at});
    }
    body.Add(lines[i]);
    body.spans.push_back(read.spans[i]);
    previous = i;
    ++shownCount;
  }
  for (std::size_t i = fileLines; i < lines.size(); ++i)
    body.Add(lines[i]);  // the viewer's own lines after the tail
  shownFileLines_ = shownCount;
  givenFileLines_ = fileLines;
}

void ViewModel::ShowTail(const LineHistory& history, std::string_view separator, ViewLines& read,
                         std::string_view footer, LineClassifier& types, ui::TRAHLEditor& view) {
  ViewLines* next = &read;
  if (Filtering()) {
    DecideTail(read, types);
    BuildFilteredBody(read);
    next = &scratch_;
  } else {
    lastRead_.Clear();
    lastFilterVersion_ = 0;
    shownFileLines_ = givenFileLines_ = read.spans.size();
  }
  const bool ownView = StillShows(history, view);
  shown_.view = nullptr;  // until the view is whole again
  lastMove_.reset();
  if (ownView) {
    // Most reloads add a line or two: the view keeps the rest where it is.
    EditView(history, view, separator, *next, footer);
  } else {
    std::vector<std::string_view> all = history.LineViews();
    all.push_back(separator);
    const std::span<const std::string_view> lines = next->Views();
    all.insert(all.end(), lines.begin(), lines.end());
    all.push_back(footer);
    view.AssignLines(all);
  }
  SwapLines(body_, *next);
  if (Filtering()) {
    SwapLines(lastRead_, read);
    lastPasses_.swap(passes_);
  }
  shown_ = {&view, view.LinesVersion(), &history, history.FirstSequence(), history.EndSequence()};
}

ui::TRAHLEditor::ViewPlace ViewModel::PlaceAfterShow(
    const ui::TRAHLEditor::ViewPlace& place) const {
  if (!lastMove_)
    return place;
  const auto moved = [this](int row) {
    return static_cast<int>(lastMove_->RowAfter(static_cast<std::size_t>(std::max(row, 0))));
  };
  ui::TRAHLEditor::ViewPlace after = place;
  after.topRow = moved(place.topRow);
  after.caretRow = moved(place.caretRow);
  after.anchorRow = moved(place.anchorRow);
  return after;
}

void ViewModel::ShowIndexed(std::size_t shownLines, std::size_t fileLines) {
  shown_.view = nullptr;
  lastRead_.Clear();
  shownFileLines_ = Filtering() ? shownLines : fileLines;
  givenFileLines_ = fileLines;
}

void ViewModel::StartComplete() {
  passes_.clear();
}

void ViewModel::ShowComplete(std::span<const std::string_view> head, std::string&& text,
                             ui::FileLines&& lines, ui::TRAHLEditor& view) {
  shown_.view = nullptr;
  lastRead_.Clear();
  givenFileLines_ = lines.Count();
  if (!Filtering() || passes_.size() != lines.Count()) {
    shownFileLines_ = givenFileLines_;
    view.AssignLinesInPlace(head, std::move(text), std::move(lines));
    return;
  }
  const std::vector<bool> shown = ShownWithContext(passes_, lines.Count());
  std::vector<std::string_view> all(head.begin(), head.end());
  shownFileLines_ = KeepShown(
      shown, [&](std::size_t i) { return FileLine(text, lines, i); }, all);
  view.AssignLines(all);
}

template <typename LineAt>
std::size_t ViewModel::KeepShown(const std::vector<bool>& shown, LineAt lineAt,
                                 std::vector<std::string_view>& kept) {
  std::optional<std::size_t> previous;
  std::size_t count = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (!shown[i])
      continue;
    if (previous && *previous + 1 != i)
      kept.push_back(kFilterGapLine);
    kept.push_back(lineAt(i));
    previous = i;
    ++count;
  }
  return count;
}

std::vector<std::string_view> ViewModel::FilterLines(std::span<const std::string_view> lines,
                                                     LineClassifier& types) {
  if (!Filtering())
    return {lines.begin(), lines.end()};
  std::vector<bool> passes;
  passes.reserve(lines.size());
  for (const std::string_view line : lines)
    passes.push_back(filter_.Passes(line, types));
  std::vector<std::string_view> kept;
  KeepShown(
      ShownWithContext(passes, lines.size()), [&](std::size_t i) { return lines[i]; }, kept);
  return kept;
}

}  // namespace brontel
