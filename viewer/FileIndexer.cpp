#include "viewer/FileIndexer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "classify/BufferClassifier.h"
#include "ui/FileLines.h"
#include "ui/LineStore.h"
#include "ui/NulBytes.h"

namespace brontel {

namespace {

constexpr std::size_t kTabGrowth = ui::LineStore::kTabReplacement.size() - 1;
constexpr std::size_t kShownBreak = ui::LineStore::kLineBreak.size();
constexpr std::size_t kLeftOverRoom = 64 << 10;

// The set bits of a mask that holds few: a line has few tabs, and std::popcount without the
// processor's own instruction (not in the baseline the modules are built for) is a library call.
std::size_t BitsIn(std::uint64_t mask) {
  std::size_t bits = 0;
  for (; mask != 0; mask &= mask - 1)
    ++bits;
  return bits;
}

}  // namespace

FileIndexer::FileIndexer(std::unique_ptr<platform::ReadOnlyFile> file,
                         std::unique_ptr<LineClassifier> types, std::size_t historyLimit,
                         std::uint64_t from)
    : file_(std::move(file)),
      types_(std::move(types)),
      offset_(from),
      goal_(std::max(from, file_->Size())),
      history_(historyLimit) {
  index_.StartAt(from);
}

void FileIndexer::SetFilter(std::unique_ptr<LineFilter> filter) {
  filter_ = std::move(filter);
  rows_ = std::make_unique<FilteredRows>(static_cast<std::size_t>(filter_->Filter().context));
}

void FileIndexer::ReplaceFilter(std::unique_ptr<LineFilter> filter,
                                std::unique_ptr<FilteredRows> rows) {
  filter_ = std::move(filter);
  rows_ = std::move(rows);
}

void FileIndexer::Extend(std::uint64_t size) {
  if (rows_)
    rows_->Rewind();
  // The open line is read again from the file, with what was appended to it.
  offset_ = index_.FileEnd();
  goal_ = std::max(size, offset_);
  pendingSize_ = 0;
  previousOpenLine_ = hasOpenLine_ ? std::move(openLine_) : std::string();
  openLine_.clear();
  hasOpenLine_ = false;
}

bool FileIndexer::Step() {
  if (offset_ >= goal_) {
    if (pendingSize_ != 0)
      ScanPending(true);
    return false;
  }
  const std::size_t want =
      static_cast<std::size_t>(std::min<std::uint64_t>(kStretch, goal_ - offset_));
  const std::size_t kept = pendingSize_;
  ReservePending(kept + want);
  const std::size_t got = platform::ReadFullyAt(*file_, offset_, pending_.Data() + kept, want);
  pendingSize_ = kept + got;
  offset_ += got;
  if (got < want)
    goal_ = offset_;  // the file became shorter while it was read: what there is, is all
  ScanPending(offset_ >= goal_);
  return true;
}

void FileIndexer::ReservePending(std::size_t bytes) {
  if (bytes <= pending_.Size())
    return;
  // Room for the part of a line that a stretch leaves over too, so the next stretch fits.
  platform::LargeBlock grown(std::max(bytes + kLeftOverRoom, 2 * pending_.Size()));
  if (pendingSize_ != 0)
    std::memcpy(grown.Data(), pending_.Data(), pendingSize_);
  pending_ = std::move(grown);
}

void FileIndexer::TakeLine(std::string_view line, std::size_t fileBytes, std::size_t tabs,
                           int position) {
  if (types_->CountType(position))
    history_.Append(line);
  const std::size_t shown = line.size() + tabs * kTabGrowth;
  maxLineLength_ = std::max(maxLineLength_, shown);
  index_.Add(static_cast<std::uint32_t>(fileBytes),
             static_cast<std::uint32_t>(shown + kShownBreak));
  if (rows_)
    rows_->Take(index_.Count() - 1, filter_->Passes(line, position), shown + kShownBreak, index_);
}

void FileIndexer::ScanPending(bool atEnd) {
  namespace fl = ui::file_lines;
  char* const text = pending_.Data();
  const std::size_t size = pendingSize_;
  BufferClassifier classifier(*types_, std::string_view(text, size));
  if (filter_)
    filter_->StartBuffer(std::string_view(text, size));
  std::size_t lineStart = 0;
  std::size_t tabsBefore = 0;     // in the blocks before the one being split
  std::size_t lineStartTabs = 0;  // before lineStart
  std::size_t skip = 0;           // the LF of a CR LF, already taken with its CR
  bool waiting = false;           // a CR at the end of what was read: an LF may follow
  const auto endLine = [&](std::size_t rawEnd, std::size_t next, std::size_t tabsToEnd) {
    const std::string_view line(text + lineStart, rawEnd - lineStart);
    TakeLine(line, next - lineStart, tabsToEnd - lineStartTabs, classifier.FindMsgType(line));
    lineStart = next;
    lineStartTabs = tabsToEnd;
  };
  for (std::size_t block = 0; block < size && !waiting; block += fl::kBlock) {
    const std::size_t count = std::min(fl::kBlock, size - block);
    const fl::StopsAndTabs found = fl::StopsAndTabsIn(text + block, count);
    // The tabs of the block before `at`.
    const auto tabsTo = [&](std::size_t at) {
      const std::uint64_t before = (std::uint64_t{1} << (at - block)) - 1;
      return tabsBefore + BitsIn(found.tabs & before);
    };
    for (std::uint64_t stops = found.stops; stops != 0 && !waiting; stops &= stops - 1) {
      const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(stops));
      if (at < skip)
        continue;
      if (text[at] == '\0') {
        text[at] = ui::kNulPlaceholder;
      } else if (text[at] == '\n') {
        endLine(at, at + 1, tabsTo(at));
      } else if (text[at] != '\r') {
        continue;  // another control byte: part of the line
      } else if (at + 1 < size) {
        const std::size_t next = text[at + 1] == '\n' ? at + 2 : at + 1;
        skip = next;
        endLine(at, next, tabsTo(at));
      } else if (atEnd) {
        endLine(at, at + 1, tabsTo(at));
      } else {
        waiting = true;
      }
    }
    tabsBefore += BitsIn(found.tabs);
    // A line too long to be indexed as one is cut where it reaches the longest a line may be.
    // A CR LF across the block's end leaves lineStart past the block: nothing of it is open.
    while (!waiting && lineStart < block + count &&
           block + count - lineStart >= ui::LineIndex::kMaxLineBytes) {
      const std::size_t cut = lineStart + ui::LineIndex::kMaxLineBytes;
      endLine(
          cut, cut,
          lineStartTabs + static_cast<std::size_t>(std::count(text + lineStart, text + cut, '\t')));
    }
  }
  const std::size_t tabs = tabsBefore - lineStartTabs;  // of the open line, once all is split
  hasOpenLine_ = false;
  openLine_.clear();
  if (atEnd && lineStart < size) {
    // The last line has no line end yet: counted and shown, but not indexed.
    const std::string_view line(text + lineStart, size - lineStart);
    const int position = classifier.FindMsgType(line);
    if (line != previousOpenLine_ && types_->CountType(position))
      history_.Append(line);
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
  pendingSize_ = size - lineStart;
  if (pendingSize_ != 0)
    std::memmove(text, text + lineStart, pendingSize_);
}

}  // namespace brontel
