#include "viewer/IndexedLines.h"

#include <algorithm>
#include <exception>

#include "platform/ReadOnlyFile.h"
#include "ui/NulBytes.h"
#include "viewer/ViewModel.h"

namespace brontel {

std::string_view WithoutLineEnd(std::string_view raw) {
  if (raw.ends_with('\n'))
    raw.remove_suffix(1);
  if (raw.ends_with('\r'))
    raw.remove_suffix(1);
  return raw;
}

std::string ShownLine(std::string_view raw) {
  std::string shown = ui::LineStore::ExpandTabs(raw);
  ui::ShowNulBytes(shown.data(), shown.size());
  return shown;
}

const std::string& ShownGapLine() {
  static const std::string shown = ShownLine(kFilterGapLine);
  return shown;
}

IndexedLines::IndexedLines(std::span<const std::string_view> head,
                           std::shared_ptr<const FileIndexer> indexer,
                           std::unique_ptr<platform::BlockCache> cache)
    : indexer_(std::move(indexer)),
      cache_(std::move(cache)),
      fileLines_(indexer_->Index().Count()),
      fileText_(indexer_->Index().TextLength()),
      hasOpenLine_(indexer_->HasOpenLine()),
      rows_(indexer_->SharedRows()) {
  head_.Assign(head);
  cursor_ = {0, indexer_->Index().FileStart(0), indexer_->Index().TextStart(0)};
  if (hasOpenLine_)
    openLine_ = ShownLine(indexer_->OpenLine());
  if (rows_ != nullptr) {
    settledRows_ = rows_->Settled();
    for (std::size_t k = settledRows_; k < rows_->Count(); ++k) {
      openRows_.push_back(rows_->Row(k));
      openEnds_.push_back(rows_->TextEnd(k));
    }
  }
}

std::size_t IndexedLines::BodyCount() const {
  if (rows_ != nullptr)
    return settledRows_ + openRows_.size();
  return fileLines_ + (hasOpenLine_ ? 1 : 0);
}

std::uint64_t IndexedLines::RowAt(std::size_t k) const {
  if (rows_ == nullptr)
    return k;
  return k < settledRows_ ? rows_->Row(k) : openRows_[k - settledRows_];
}

void IndexedLines::SeekLine(std::size_t line) const {
  // Lines nearer than this are stepped to; a walk through the index's group costs about as much.
  constexpr std::size_t kMostSteps = 8;
  const ui::LineIndex& index = indexer_->Index();
  if (line > cursor_.line + kMostSteps || line + kMostSteps < cursor_.line ||
      line > index.Count()) {
    cursor_ = {line, index.FileStart(line), index.TextStart(line)};
    return;
  }
  for (; cursor_.line < line; ++cursor_.line) {
    cursor_.fileStart += index.FileBytes(cursor_.line);
    cursor_.textStart += index.TextBytes(cursor_.line);
  }
  for (; cursor_.line > line; --cursor_.line) {
    cursor_.fileStart -= index.FileBytes(cursor_.line - 1);
    cursor_.textStart -= index.TextBytes(cursor_.line - 1);
  }
}

std::uint64_t IndexedLines::RowEnd(std::size_t k) const {
  if (rows_ == nullptr) {
    if (k < fileLines_) {
      SeekLine(k + 1);
      return cursor_.textStart;
    }
    return fileText_ + openLine_.size() + ui::LineStore::kLineBreak.size();
  }
  return k < settledRows_ ? rows_->TextEnd(k) : openEnds_[k - settledRows_];
}

std::size_t IndexedLines::Count() const {
  return head_.Count() + BodyCount();
}

std::string_view IndexedLines::Keep(std::string&& line) const {
  std::string& slot = recent_[nextRecent_];
  nextRecent_ = (nextRecent_ + 1) % recent_.size();
  slot = std::move(line);
  return slot;
}

std::string_view IndexedLines::Line(std::size_t i) const {
  if (i < head_.Count())
    return head_.Line(i);
  const std::uint64_t line = RowAt(i - head_.Count());
  if (line == FilteredRows::kGap)
    return ShownGapLine();
  if (line >= fileLines_)
    return openLine_;
  return FileLine(line, LineLength(i));
}

std::string_view IndexedLines::FileLine(std::uint64_t line, std::size_t length) const {
  const ui::LineIndex& index = indexer_->Index();
  const auto at = static_cast<std::size_t>(line);
  raw_.clear();
  try {
    SeekLine(at);
    cache_->Read(cursor_.fileStart, index.FileBytes(at), raw_);
  } catch (const std::exception&) {
    raw_.clear();  // unreadable now (the disk, a vanished share): blanks, never a fault
  }
  std::string shown = ShownLine(WithoutLineEnd(raw_));
  // The view relies on the indexed length: a file changed under the view gives blanks or less.
  shown.resize(length, ' ');
  return Keep(std::move(shown));
}

std::size_t IndexedLines::LineLength(std::size_t i) const {
  if (i < head_.Count())
    return head_.LineLength(i);
  return LineStart(i + 1) - LineStart(i) - ui::LineStore::kLineBreak.size();
}

std::size_t IndexedLines::LineStart(std::size_t i) const {
  if (i <= head_.Count())
    return head_.LineStart(std::min(i, head_.Count()));
  const std::size_t k = std::min(i - head_.Count(), BodyCount());
  return head_.TextLength() + static_cast<std::size_t>(RowEnd(k - 1));
}

std::size_t IndexedLines::TextLength() const {
  return LineStart(Count());
}

std::size_t IndexedLines::BodyLineOf(std::uint64_t offset) const {
  if (rows_ == nullptr) {
    if (offset < fileText_)
      return indexer_->Index().LineOfText(offset);
    return fileLines_;
  }
  // The first row that ends past the offset.
  std::size_t low = 0;
  std::size_t high = BodyCount() - 1;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (RowEnd(middle) > offset)
      high = middle;
    else
      low = middle + 1;
  }
  return low;
}

std::size_t IndexedLines::LineOf(std::size_t offset) const {
  if (offset < head_.TextLength() || BodyCount() == 0)
    return head_.LineOf(std::min(offset, head_.TextLength()));
  const std::size_t inBody = offset - head_.TextLength();
  return std::min(head_.Count() + BodyLineOf(inBody), Count() - 1);
}

std::string IndexedLines::TextRange(std::size_t from, std::size_t count) const {
  const std::size_t bodyStart = head_.TextLength();
  const std::size_t end = std::min<std::size_t>(TextLength(), from + std::min(count, TextLength()));
  if (rows_ != nullptr || from < bodyStart || end > bodyStart + fileText_ || from >= end)
    return LineSource::TextRange(from, count);
  const ui::LineIndex& index = indexer_->Index();
  const std::size_t first = index.LineOfText(from - bodyStart);
  const std::size_t last = index.LineOfText(end - 1 - bodyStart);
  std::string text;
  try {
    text = FileLinesText(first, last);
  } catch (const std::exception&) {
    return LineSource::TextRange(from, count);  // unreadable now: the lines' own way, blanks
  }
  SeekLine(first);
  text.erase(0, from - bodyStart - static_cast<std::size_t>(cursor_.textStart));
  text.resize(end - from);
  return text;
}

std::string IndexedLines::FileLinesText(std::size_t first, std::size_t last) const {
  const ui::LineIndex& index = indexer_->Index();
  SeekLine(last + 1);
  const std::uint64_t fileEnd = cursor_.fileStart;
  const std::uint64_t textEnd = cursor_.textStart;
  SeekLine(first);
  std::string raw(static_cast<std::size_t>(fileEnd - cursor_.fileStart), '\0');
  raw.resize(platform::ReadFullyAt(cache_->File(), cursor_.fileStart, raw.data(), raw.size()));
  ui::ShowNulBytes(raw.data(), raw.size());
  std::string text;
  text.reserve(static_cast<std::size_t>(textEnd - cursor_.textStart));
  std::size_t at = 0;
  index.ForEachLine(
      first, last + 1, [&](std::size_t, std::uint32_t fileBytes, std::uint32_t textBytes) {
        const std::string_view bytes =
            WithoutLineEnd(std::string_view(raw).substr(std::min(at, raw.size()), fileBytes));
        at += fileBytes;
        const std::size_t lineStart = text.size();
        ui::LineStore::AppendTabsExpanded(bytes, text);
        // The indexed length holds, whatever the file holds now (as Line gives it).
        text.resize(lineStart + textBytes - ui::LineStore::kLineBreak.size(), ' ');
        text.append(ui::LineStore::kLineBreak);
      });
  return text;
}

std::size_t IndexedLines::MaxLineLength() const {
  return std::max(head_.MaxLineLength(), indexer_->MaxLineLength());
}

}  // namespace brontel
