#include "viewer/CompleteLoad.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

#include "classify/LineClassifier.h"
#include "platform/DecodedFile.h"
#include "platform/FileEncoding.h"
#include "platform/GzipText.h"
#include "platform/ReadOnlyFile.h"
#include "platform/WholeFile.h"
#include "ui/NulBytes.h"
#include "ui/UpdateBracket.h"
#include "viewer/TailText.h"

namespace brontel {

namespace {

constexpr std::uint32_t kTickMilliseconds = 100;
constexpr int kTicksBetweenLooks = 10;
// What is appended later is indexed on the UI thread, this many stretches a tick.
constexpr int kStretchesPerTick = 2;
constexpr std::size_t kCacheBlocks = 64;
// How much of the file's end shows while the rest is indexed: the largest tail buffer.
constexpr std::size_t kEndBytes = 1 << 20;
constexpr std::size_t kFirstBytes = 4096;
// A compressed log is indexed at once only where even a "gzip bomb" of its size (deflate packs
// at most about a thousand bytes into one) stays within what a plain file indexed at once holds.
constexpr std::uint64_t kMostCompression = 1024;
// How much text a compressed log may stand for: far more than logs compress, far less than the
// disk-filling texts a small file can be made to hold.
constexpr std::uint64_t kMostTextPerCompressedByte = 256;

bool IsDecoded(platform::FileEncoding encoding) {
  return encoding == platform::FileEncoding::kUtf16Le ||
         encoding == platform::FileEncoding::kUtf16Be || encoding == platform::FileEncoding::kGzip;
}

std::uint64_t TextLimitOf(platform::FileEncoding encoding, std::uint64_t encodedSize) {
  if (encoding != platform::FileEncoding::kGzip)
    return std::numeric_limits<std::uint64_t>::max();
  return std::max(platform::kGunzipTextLimit, encodedSize * kMostTextPerCompressedByte);
}

// A row of the old lines moved to where the same line of the file is now: rows of the file keep
// their distance from the end (`fromEnd`) or from the first file line.
int MovedRow(int row, std::size_t oldCount, std::size_t newCount, bool fromEnd, int headShift) {
  if (!fromEnd)
    return std::max(0, row + headShift);
  const auto rowsAfter = static_cast<std::int64_t>(oldCount) - row;
  return static_cast<int>(
      std::max<std::int64_t>(0, static_cast<std::int64_t>(newCount) - rowsAfter));
}

// A copy of `types` for a worker (the indexer, a filter pass): their matchers keep state.
std::unique_ptr<LineClassifier> WorkerTypes(ExtManager& store, const LineClassifier& types) {
  auto copy = std::make_unique<LineClassifier>(store);
  copy->Types() = types.Types();
  copy->ResetMsgTypeCounts();
  return copy;
}

// A filter of its own for a worker (the expression keeps its search state), or null when
// `types` refuse it.
std::unique_ptr<LineFilter> WorkerFilter(const ViewFilter& filter, LineClassifier& types) {
  auto own = std::make_unique<LineFilter>();
  std::string refused;
  if (!own->Set(filter, types, refused))
    return nullptr;
  return own;
}

}  // namespace

CompleteLoad::CompleteLoad(ui::Toolkit& toolkit, ExtManager& store)
    : toolkit_(toolkit),
      store_(store),
      timer_(toolkit.CreateTimer("IndexTimer", kTickMilliseconds, false)) {
  timer_->OnTimer = [this](ui::Component&) { Tick(); };
}

CompleteLoad::~CompleteLoad() {
  Stop();
}

void CompleteLoad::Stop() {
  timer_->SetEnabled(false);
  thread_.reset();
  pass_.reset();
  extending_ = false;
  indexer_.reset();
}

std::optional<int> CompleteLoad::Load(TailViewerState& state, LineClassifier& types,
                                      ui::TRAHLEditor& view, ViewModel* model) {
  Stop();
  state_ = &state;
  types_ = &types;
  view_ = &view;
  model_ = model;
  Begin("");
  return separator_;
}

std::string CompleteLoad::FirstBytes() {
  const std::unique_ptr<platform::ReadOnlyFile> file = platform::OpenReadOnlyFile(state_->path);
  return platform::ReadBytesAt(*file, 0, kFirstBytes);
}

void CompleteLoad::Begin(const std::string& note) {
  TailViewerState& state = *state_;
  // Opened and read first: a file that cannot be read now (renamed away this moment, say)
  // leaves the load as it was, and the next look tries again.
  std::unique_ptr<platform::ReadOnlyFile> file = platform::OpenReadOnlyFile(state.path);
  const platform::FileEncoding encoding = platform::DetectFileEncoding(*file);
  std::string firstBytes = platform::ReadBytesAt(*file, 0, kFirstBytes);
  thread_.reset();
  extending_ = false;
  indexer_.reset();
  decoded_ = nullptr;
  separator_.reset();
  note_ = note;
  state.history.Clear();
  types_->ResetMsgTypeCounts();
  encoding_ = encoding;
  firstBytes_ = std::move(firstBytes);
  encodedSize_ = file->Size();
  std::uint64_t from = platform::EncodingMarkSize(encoding_);
  bool atOnce = encodedSize_ <= atOnceBytes_;
  if (IsDecoded(encoding_)) {
    // Decoded as it is indexed, and read back by position through places kept on the way.
    const std::uint64_t limit = TextLimitOf(encoding_, encodedSize_);
    auto decoded = std::make_unique<platform::DecodedFile>(
        std::move(file), encoding_, limit,
        platform::DecodedFile::EndLines{std::string(kUnreadableRestLine), TextLimitLine(limit)});
    decoded_ = decoded.get();
    file = std::move(decoded);
    from = 0;
    if (encoding_ == platform::FileEncoding::kGzip)
      atOnce = encodedSize_ <= atOnceBytes_ / kMostCompression;
  }
  types_->LoadMsgTypes();
  std::unique_ptr<LineClassifier> types = WorkerTypes(store_, *types_);
  // Without types the copy would read the settings itself: never on the worker.
  atOnce = atOnce || types->Types().empty();
  indexer_ = std::make_shared<FileIndexer>(
      std::move(file), std::move(types), static_cast<std::size_t>(state.history.MaxLines()), from);
  if (decoded_ != nullptr)
    indexer_->Extend(FileIndexer::kToTheEnd);
  if (model_ != nullptr && model_->Filtering()) {
    if (std::unique_ptr<LineFilter> filter = WorkerFilter(model_->Filter(), indexer_->Types()))
      indexer_->SetFilter(std::move(filter));
  }
  ticks_ = 0;
  if (atOnce) {
    while (indexer_->Step()) {
    }
    Show(false);
  } else {
    if (decoded_ == nullptr)
      ShowEnd();
    else
      shownVersion_ = view_->LinesVersion();  // its end cannot be read before it is decoded
    thread_ = std::make_unique<WorkerThread>(
        "indexing", [indexer = indexer_] { return indexer->Step(); },
        [this] { return PerMille(); });
    SetStatus(note_ + " [indexing 0 %]");
  }
  timer_->SetEnabled(true);
}

int CompleteLoad::PerMille() const {
  if (decoded_ != nullptr)
    return static_cast<int>(std::min<std::uint64_t>(
        1000, decoded_->FileOffset() * 1000 / std::max<std::uint64_t>(encodedSize_, 1)));
  const std::uint64_t goal = indexer_->Goal();
  return goal == 0 ? 1000 : static_cast<int>(indexer_->Offset() * 1000 / goal);
}

void CompleteLoad::ShowEnd() {
  ui::TRAHLEditor& view = *view_;
  const std::unique_ptr<platform::ReadOnlyFile> file = platform::OpenReadOnlyFile(state_->path);
  const std::uint64_t size = file->Size();
  const std::uint64_t from = size > kEndBytes ? size - kEndBytes : 0;
  std::string text = platform::ReadBytesAt(*file, from, kEndBytes);
  ui::ShowNulBytes(text.data(), text.size());
  std::vector<std::string_view> lines = platform::LineViewsOf(text);
  if (from > 0 && !lines.empty())
    lines.erase(lines.begin());  // the end of a line that began before
  if (model_ != nullptr && model_->Filtering())
    lines = model_->FilterLines(lines, *types_);
  ui::UpdateBracket bracket(view);
  view.AssignLines(lines);
  view.ScrollTo(0, std::max(0, view.RowCount() - view.VisibleRows()));
  view.MoveCaret(view.RowCount() - 1, 0);
  shownVersion_ = view.LinesVersion();
}

void CompleteLoad::Show(bool keepFromEnd) {
  TailViewerState& state = *state_;
  ui::TRAHLEditor& view = *view_;
  const std::vector<MsgTypeMatcherInfo>& counted = indexer_->Types().Types();
  std::vector<MsgTypeMatcherInfo>& shown = types_->Types();
  for (std::size_t i = 0; i < std::min(counted.size(), shown.size()); ++i)
    shown[i].count = counted[i].count;
  const int oldHead = separator_ ? *separator_ + 1 : 0;
  // The lines indexed since the last look join those shown then, within the same limit.
  state.history.AppendAll(std::move(indexer_->History()),
                          static_cast<std::size_t>(state.history.MaxLines()));
  std::vector<std::string_view> head = state.history.LineViews();
  std::string separator;
  if (!head.empty()) {
    separator = std::string(kMarkerPrefix) + types_->MsgTypeCountsText() +
                ", HistoryCount:" + std::to_string(head.size());
    head.push_back(separator);
  }
  std::unique_ptr<platform::ReadOnlyFile> file = platform::OpenReadOnlyFile(state.path);
  if (decoded_ != nullptr)
    file = decoded_->Reader(std::move(file));
  auto cache = std::make_unique<platform::BlockCache>(std::move(file), kCacheBlocks);
  auto source = std::make_shared<IndexedLines>(head, indexer_, std::move(cache));
  const bool wasShown = view.LinesVersion() == shownVersion_;
  const ui::TRAHLEditor::ViewPlace place = view.Place();
  const std::size_t oldCount = view.LineCount();
  ui::UpdateBracket bracket(view);
  view.ShowSource(source);
  if (wasShown && (keepFromEnd || oldHead > 0 || !head.empty())) {
    const int shift = static_cast<int>(head.size()) - oldHead;
    const std::size_t count = view.LineCount();
    ui::TRAHLEditor::ViewPlace moved = place;
    moved.topRow = MovedRow(place.topRow, oldCount, count, keepFromEnd, shift);
    moved.caretRow = MovedRow(place.caretRow, oldCount, count, keepFromEnd, shift);
    moved.anchorRow = MovedRow(place.anchorRow, oldCount, count, keepFromEnd, shift);
    view.SetPlace(moved);
  }
  shownVersion_ = view.LinesVersion();
  separator_.reset();
  if (!head.empty())
    separator_ = static_cast<int>(head.size() - 1);
  // The tail view reckons a UTF-16 file's lines by where they end in the file.
  const bool byFileOffset = decoded_ != nullptr && encoding_ != platform::FileEncoding::kGzip;
  state.counted.MarkCounted(state.path, byFileOffset ? decoded_->FileOffset() : indexer_->Offset());
  if (model_ != nullptr) {
    const std::size_t fileLines = indexer_->Index().Count() + (indexer_->HasOpenLine() ? 1 : 0);
    const FilteredRows* rows = indexer_->Rows();
    model_->ShowIndexed(rows != nullptr ? rows->ShownLines() : fileLines, fileLines);
  }
  SetStatus(note_);
}

void CompleteLoad::SetStatus(const std::string& extra) {
  TailViewerState& state = *state_;
  fileInfo snapshot;
  if (!ReadFileInfo(state.path, snapshot))
    return;
  state.displayName = DisplayNameOf(state.path);
  std::optional<std::string> status = TailStatusText(state.displayName, snapshot, state.bufferSize);
  if (!status)
    return;
  state.statusText = std::move(*status) + std::string(platform::EncodingLabel(encoding_)) +
                     types_->ChosenPresetLabel() + extra;
  if (OnStatus)
    OnStatus();
}

void CompleteLoad::Tick() {
  if (!indexer_ || view_ == nullptr)
    return;
  if (view_->LinesVersion() != shownVersion_) {
    Stop();  // the view shows something else now: a tail load, a new file
    return;
  }
  try {
    if (thread_) {
      if (!thread_->Finished()) {
        SetStatus(note_ + (pass_ != nullptr ? " [filtering " : " [indexing ") +
                  std::to_string(thread_->Progress() / 10) + " %]");
        return;
      }
      const std::string failure = thread_->Failure();
      thread_.reset();
      if (pass_ != nullptr) {
        if (failure.empty())
          ShowPass();
        else
          Begin(" [the file changed while it was filtered: loaded afresh]");
        return;
      }
      if (!failure.empty()) {
        SetStatus(" [indexing failed: " + failure + "]");
        Stop();
        return;
      }
      Show(true);
      return;
    }
    if (extending_)
      ExtendSome();
    else if (++ticks_ % kTicksBetweenLooks == 0)
      LookAtFile();
  } catch (const std::exception& failure) {
    // The file went or cannot be read now: the view stays, the next look tries again.
    SetStatus(" [" + std::string(failure.what()) + "]");
  }
}

void CompleteLoad::LookAtFile() {
  fileInfo now;
  if (!ReadFileInfo(state_->path, now))
    return;  // gone for now: the view stays as it is
  const std::uint64_t size = now.Size();
  if (decoded_ != nullptr) {
    LookAtDecodedFile(size);
    return;
  }
  const std::uint64_t indexed = indexer_->Offset();
  const std::string first = FirstBytes();
  const bool sameStart = first.starts_with(firstBytes_);
  const bool sameFile = indexer_->File().Size() == size;
  if (size < indexed || !sameStart || !sameFile) {
    Begin(" [the file was replaced or cut short: loaded afresh]");
    return;
  }
  if (size == indexed)
    return;
  firstBytes_ = first;
  indexer_->Extend(size);
  if (size - indexer_->Offset() <= atOnceBytes_) {
    while (indexer_->Step()) {
    }
    Show(false);
    return;
  }
  extending_ = true;
}

void CompleteLoad::LookAtDecodedFile(std::uint64_t size) {
  // Its start is looked at even when the size is the same: another file of the same size (a
  // log rotated into its place) would otherwise go on showing as this one.
  const std::string first = FirstBytes();
  if (size < encodedSize_ || !first.starts_with(firstBytes_)) {
    Begin(" [the file was replaced or cut short: loaded afresh]");
    return;
  }
  if (size == encodedSize_)
    return;
  if (decoded_->CutShort() || !decoded_->Resume()) {
    // The line saying the text ended short is indexed already: the text goes on from its start.
    Begin(" [the file grew: decoded afresh]");
    return;
  }
  encodedSize_ = size;
  firstBytes_ = first;
  indexer_->Extend(FileIndexer::kToTheEnd);
  extending_ = true;
}

bool CompleteLoad::Refilter() {
  if (!indexer_ || Indexing() || decoded_ != nullptr || view_ == nullptr ||
      view_->LinesVersion() != shownVersion_)
    return false;
  if (model_ == nullptr || !model_->Filtering()) {
    indexer_->ReplaceFilter(nullptr, nullptr);
    Show(false);
    return true;
  }
  std::unique_ptr<LineFilter> filter = WorkerFilter(model_->Filter(), indexer_->Types());
  if (filter == nullptr)
    return false;
  pass_ = std::make_shared<FilterPass>(platform::OpenReadOnlyFile(state_->path), indexer_,
                                       std::move(filter), WorkerTypes(store_, indexer_->Types()));
  if (indexer_->Offset() <= atOnceBytes_) {
    try {
      while (pass_->Step()) {
      }
    } catch (const std::exception&) {
      pass_.reset();
      return false;  // the file changed under the view: loaded again
    }
    ShowPass();
    return true;
  }
  thread_ = std::make_unique<WorkerThread>(
      "filtering", [pass = pass_] { return pass->Step(); },
      [pass = pass_] { return pass->PerMille(); });
  SetStatus(note_ + " [filtering 0 %]");
  return true;
}

void CompleteLoad::ShowPass() {
  const std::shared_ptr<FilterPass> pass = std::move(pass_);
  indexer_->ReplaceFilter(pass->TakeFilter(), pass->TakeRows());
  Show(false);
}

void CompleteLoad::ExtendSome() {
  for (int i = 0; i < kStretchesPerTick; ++i) {
    if (!indexer_->Step()) {
      extending_ = false;
      Show(false);
      return;
    }
  }
  SetStatus(note_ + " [indexing " + std::to_string(PerMille() / 10) + " %]");
}

}  // namespace brontel
