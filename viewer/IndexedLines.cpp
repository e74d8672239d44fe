#include "viewer/IndexedLines.h"

#include <algorithm>
#include <exception>

#include "ui/NulBytes.h"

namespace brontel {

std::string ShownLine(std::string_view raw) {
  std::string shown = ui::LineStore::ExpandTabs(raw);
  ui::ShowNulBytes(shown.data(), shown.size());
  return shown;
}

IndexedLines::IndexedLines(std::span<const std::string_view> head,
                           std::shared_ptr<const FileIndexer> indexer,
                           std::unique_ptr<platform::BlockCache> cache)
    : indexer_(std::move(indexer)), cache_(std::move(cache)) {
  head_.Assign(head);
  if (indexer_->HasOpenLine())
    openLine_ = ShownLine(indexer_->OpenLine());
}

std::size_t IndexedLines::FileLineCount() const {
  return indexer_->Index().Count() + (indexer_->HasOpenLine() ? 1 : 0);
}

std::size_t IndexedLines::Count() const {
  return head_.Count() + FileLineCount();
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
  const std::size_t line = i - head_.Count();
  const ui::LineIndex& index = indexer_->Index();
  if (line >= index.Count())
    return openLine_;
  raw_.clear();
  try {
    cache_->Read(index.FileStart(line), index.FileBytes(line), raw_);
  } catch (const std::exception&) {
    raw_.clear();  // unreadable now (the disk, a vanished share): blanks, never a fault
  }
  // The line end is not shown; a line cut into pieces has none.
  if (!raw_.empty() && raw_.back() == '\n')
    raw_.pop_back();
  if (!raw_.empty() && raw_.back() == '\r')
    raw_.pop_back();
  std::string shown = ShownLine(raw_);
  // The view relies on the indexed length: a file changed under the view gives blanks or less.
  shown.resize(LineLength(i), ' ');
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
  const std::size_t line = i - head_.Count();
  const ui::LineIndex& index = indexer_->Index();
  if (line <= index.Count())
    return head_.TextLength() + static_cast<std::size_t>(index.TextStart(line));
  return TextLength();
}

std::size_t IndexedLines::TextLength() const {
  const std::size_t open =
      indexer_->HasOpenLine() ? openLine_.size() + ui::LineStore::kLineBreak.size() : 0;
  return head_.TextLength() + static_cast<std::size_t>(indexer_->Index().TextLength()) + open;
}

std::size_t IndexedLines::LineOf(std::size_t offset) const {
  if (offset < head_.TextLength())
    return head_.LineOf(offset);
  const ui::LineIndex& index = indexer_->Index();
  const std::size_t inFile = offset - head_.TextLength();
  if (inFile < index.TextLength())
    return head_.Count() + index.LineOfText(inFile);
  return Count() - 1;
}

std::size_t IndexedLines::MaxLineLength() const {
  return std::max(head_.MaxLineLength(), indexer_->MaxLineLength());
}

}  // namespace brontel
