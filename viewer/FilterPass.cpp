#include "viewer/FilterPass.h"

#include <stdexcept>

#include "ui/LineStore.h"
#include "ui/NulBytes.h"
#include "viewer/IndexedLines.h"

namespace brontel {

FilterPass::FilterPass(std::unique_ptr<platform::ReadOnlyFile> file,
                       std::shared_ptr<const FileIndexer> indexer,
                       std::unique_ptr<LineFilter> filter, std::unique_ptr<LineClassifier> types)
    : file_(std::move(file)),
      indexer_(std::move(indexer)),
      filter_(std::move(filter)),
      types_(std::move(types)),
      rows_(std::make_unique<FilteredRows>(static_cast<std::size_t>(filter_->Filter().context))),
      nextStart_(indexer_->Index().FileStart(0)) {}

int FilterPass::PerMille() const {
  const std::size_t lines = indexer_->Index().Count();
  return lines == 0 ? 1000 : static_cast<int>(nextLine_ * 1000 / lines);
}

int FilterPass::TypeOf(std::string_view line, BufferClassifier* classifier) {
  if (!filter_->NeedsTypes())
    return kUnclassified;
  return classifier != nullptr ? classifier->FindMsgType(line) : types_->FindMsgType(line);
}

bool FilterPass::Step() {
  if (done_)
    return false;
  const ui::LineIndex& index = indexer_->Index();
  if (nextLine_ >= index.Count()) {
    TakeOpenLine();
    done_ = true;
    return false;
  }
  std::size_t end = nextLine_;
  std::uint64_t bytes = 0;
  do {
    bytes += index.FileBytes(end++);
  } while (end < index.Count() && bytes + index.FileBytes(end) <= kStretch);
  buffer_.resize(static_cast<std::size_t>(bytes));
  if (platform::ReadFullyAt(*file_, nextStart_, buffer_.data(), buffer_.size()) < bytes)
    throw std::runtime_error("the file became shorter while it was filtered");
  ui::ShowNulBytes(buffer_.data(), buffer_.size());
  std::unique_ptr<BufferClassifier> classifier;
  if (filter_->NeedsTypes())
    classifier = std::make_unique<BufferClassifier>(*types_, buffer_);
  filter_->StartBuffer(buffer_);
  std::size_t at = 0;
  for (std::size_t line = nextLine_; line < end; ++line) {
    const std::size_t fileBytes = index.FileBytes(line);
    const std::string_view text = WithoutLineEnd(std::string_view(buffer_).substr(at, fileBytes));
    rows_->Take(line, filter_->Passes(text, TypeOf(text, classifier.get())), index.TextBytes(line),
                index);
    at += fileBytes;
  }
  filter_->EndBuffer();
  nextLine_ = end;
  nextStart_ += bytes;
  return true;
}

void FilterPass::TakeOpenLine() {
  if (!indexer_->HasOpenLine())
    return;
  const std::string& line = indexer_->OpenLine();
  rows_->TakeOpen(indexer_->Index().Count(), filter_->Passes(line, TypeOf(line, nullptr)),
                  ui::LineStore::ExpandedLength(line) + ui::LineStore::kLineBreak.size(),
                  indexer_->Index());
}

}  // namespace brontel
