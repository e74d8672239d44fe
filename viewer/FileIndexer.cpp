#include "viewer/FileIndexer.h"

#include <algorithm>
#include <bit>

#include "classify/BufferClassifier.h"
#include "ui/FileLines.h"
#include "ui/LineStore.h"
#include "ui/NulBytes.h"

namespace brontel {

namespace {

constexpr std::size_t kTabGrowth = ui::LineStore::kTabReplacement.size() - 1;
constexpr std::size_t kShownBreak = ui::LineStore::kLineBreak.size();

}  // namespace

FileIndexer::FileIndexer(std::unique_ptr<platform::ReadOnlyFile> file,
                         std::unique_ptr<LineClassifier> types, std::size_t historyLimit,
                         std::uint64_t from)
    : file_(std::move(file)),
      types_(std::move(types)),
      historyLimit_(std::max<std::size_t>(historyLimit, 1)),
      offset_(from),
      goal_(std::max(from, file_->Size())) {
  index_.StartAt(from);
}

void FileIndexer::SetFilter(std::unique_ptr<LineFilter> filter) {
  filter_ = std::move(filter);
  rows_ = std::make_unique<FilteredRows>(static_cast<std::size_t>(filter_->Filter().context));
}

void FileIndexer::Extend(std::uint64_t size) {
  if (rows_)
    rows_->Rewind();
  // The open line is read again from the file, with what was appended to it.
  offset_ = index_.FileEnd();
  goal_ = std::max(size, offset_);
  pending_.clear();
  previousOpenLine_ = hasOpenLine_ ? std::move(openLine_) : std::string();
  openLine_.clear();
  hasOpenLine_ = false;
}

bool FileIndexer::Step() {
  if (offset_ >= goal_) {
    if (!pending_.empty())
      ScanPending(true);
    return false;
  }
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(kStretch, goal_ - offset_));
  const std::size_t kept = pending_.size();
  pending_.resize(kept + want);
  const std::size_t got = platform::ReadFullyAt(*file_, offset_, pending_.data() + kept, want);
  pending_.resize(kept + got);
  offset_ += got;
  if (got < want)
    goal_ = offset_;  // the file became shorter while it was read: what there is, is all
  ScanPending(offset_ >= goal_);
  return true;
}

void FileIndexer::KeepInHistory(std::string_view line) {
  if (history_.size() >= historyLimit_) {
    std::string reused = std::move(history_.front());
    history_.pop_front();
    ++historyDropped_;
    reused.assign(line);
    history_.push_back(std::move(reused));
    return;
  }
  history_.emplace_back(line);
}

void FileIndexer::TakeLine(std::string_view line, std::size_t fileBytes, std::size_t tabs,
                           int position) {
  if (types_->CountType(position))
    KeepInHistory(line);
  const std::size_t shown = line.size() + tabs * kTabGrowth;
  maxLineLength_ = std::max(maxLineLength_, shown);
  index_.Add(static_cast<std::uint32_t>(fileBytes),
             static_cast<std::uint32_t>(shown + kShownBreak));
  if (rows_)
    rows_->Take(index_.Count() - 1, filter_->Passes(line, position), shown + kShownBreak, index_);
}

void FileIndexer::ScanPending(bool atEnd) {
  namespace fl = ui::file_lines;
  char* const text = pending_.data();
  const std::size_t size = pending_.size();
  BufferClassifier classifier(*types_, pending_);
  if (filter_)
    filter_->StartBuffer(pending_);
  std::size_t lineStart = 0;
  std::size_t tabs = 0;
  std::size_t skip = 0;  // the LF of a CR LF, already taken with its CR
  bool waiting = false;  // a CR at the end of what was read: an LF may follow
  const auto endLine = [&](std::size_t rawEnd, std::size_t next) {
    const std::string_view line(text + lineStart, rawEnd - lineStart);
    TakeLine(line, next - lineStart, tabs, classifier.FindMsgType(line));
    lineStart = next;
    tabs = 0;
  };
  for (std::size_t block = 0; block < size && !waiting; block += fl::kBlock) {
    const std::size_t count = std::min(fl::kBlock, size - block);
    for (std::uint64_t stops = fl::StopsIn(text + block, count); stops != 0; stops &= stops - 1) {
      const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(stops));
      if (at < skip)
        continue;
      switch (text[at]) {
        case '\0':
          text[at] = ui::kNulPlaceholder;
          break;
        case '\t':
          ++tabs;
          break;
        case '\n':
          endLine(at, at + 1);
          break;
        case '\r':
          if (at + 1 < size) {
            const std::size_t next = text[at + 1] == '\n' ? at + 2 : at + 1;
            skip = next;
            endLine(at, next);
          } else if (atEnd) {
            endLine(at, at + 1);
          } else {
            waiting = true;
          }
          break;
        default:
          break;
      }
      if (waiting)
        break;
    }
    // A line too long to be indexed as one is cut where it reaches the longest a line may be.
    // A CR LF across the block's end leaves lineStart past the block: nothing of it is open.
    while (!waiting && lineStart < block + count &&
           block + count - lineStart >= ui::LineIndex::kMaxLineBytes) {
      const std::size_t cut = lineStart + ui::LineIndex::kMaxLineBytes;
      tabs = static_cast<std::size_t>(std::count(text + lineStart, text + cut, '\t'));
      endLine(cut, cut);
      tabs = static_cast<std::size_t>(std::count(text + lineStart, text + block + count, '\t'));
    }
  }
  hasOpenLine_ = false;
  openLine_.clear();
  if (atEnd && lineStart < size) {
    // The last line has no line end yet: counted and shown, but not indexed.
    const std::string_view line(text + lineStart, size - lineStart);
    const int position = classifier.FindMsgType(line);
    if (line != previousOpenLine_ && types_->CountType(position))
      KeepInHistory(line);
    openLine_.assign(line);
    hasOpenLine_ = true;
    const std::size_t shown = line.size() + tabs * kTabGrowth;
    maxLineLength_ = std::max(maxLineLength_, shown);
    if (rows_)
      rows_->TakeOpen(index_.Count(), filter_->Passes(line, position), shown + kShownBreak, index_);
    lineStart = size;
  }
  if (filter_)
    filter_->EndBuffer();
  pending_.erase(0, lineStart);
}

}  // namespace brontel
