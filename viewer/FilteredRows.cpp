#include "viewer/FilteredRows.h"

#include <algorithm>

#include "ui/LineStore.h"
#include "viewer/IndexedLines.h"

namespace brontel {

std::uint64_t GapRowBytes() {
  return ShownGapLine().size() + ui::LineStore::kLineBreak.size();
}

void FilteredRows::Add(std::uint64_t row, std::uint64_t textBytes) {
  rows_.push_back(row);
  ends_.push_back((ends_.empty() ? 0 : ends_.back()) + textBytes);
}

void FilteredRows::Take(std::uint64_t line, bool passes, std::uint64_t textBytes,
                        const ui::LineIndex& index) {
  if (passes) {
    std::uint64_t from = line > context_ ? line - context_ : 0;
    if (lastShown_)
      from = std::max(from, *lastShown_ + 1);
    if (lastShown_ && from > *lastShown_ + 1)
      Add(kGap, GapRowBytes());
    for (std::uint64_t before = from; before < line; ++before) {
      const auto i = static_cast<std::size_t>(before);
      Add(before, index.TextStart(i + 1) - index.TextStart(i));
      ++shownLines_;
    }
    after_ = context_;
  } else if (after_ > 0) {
    --after_;
  } else {
    return;
  }
  Add(line, textBytes);
  ++shownLines_;
  lastShown_ = line;
}

void FilteredRows::TakeOpen(std::uint64_t line, bool passes, std::uint64_t textBytes,
                            const ui::LineIndex& index) {
  Rewind();
  open_ = State{rows_.size(), shownLines_, after_, lastShown_};
  Take(line, passes, textBytes, index);
}

void FilteredRows::Rewind() {
  if (!open_)
    return;
  rows_.truncate(open_->rows);
  ends_.truncate(open_->rows);
  shownLines_ = open_->shownLines;
  after_ = open_->after;
  lastShown_ = open_->lastShown;
  open_.reset();
}

}  // namespace brontel
