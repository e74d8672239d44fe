/** @file IndexedLines.h: the lines of a complete view, read from the indexed file on demand. */
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/BlockCache.h"
#include "ui/LineSource.h"
#include "ui/LineStore.h"
#include "viewer/FileIndexer.h"

namespace brontel {

// A complete view of a log of any size: lines the viewer puts above the file (the history block
// and its separator), then the file's lines as `indexer` found them, read through `cache` when
// they are drawn, searched or copied. Only the index, the head lines and the cache's blocks are
// held. A file cut short or rewritten under the view gives lines of their indexed length, filled
// with blanks where the bytes are gone: never stale offsets, never a fault.
class IndexedLines : public ui::LineSource {
 public:
  IndexedLines(std::span<const std::string_view> head, std::shared_ptr<const FileIndexer> indexer,
               std::unique_ptr<platform::BlockCache> cache);

  std::size_t Count() const override;
  std::string_view Line(std::size_t i) const override;
  std::size_t LineLength(std::size_t i) const override;
  std::size_t LineStart(std::size_t i) const override;
  std::size_t TextLength() const override;
  std::size_t LineOf(std::size_t offset) const override;
  std::size_t MaxLineLength() const override;

  std::size_t HeadCount() const { return head_.Count(); }
  const FileIndexer& Indexer() const { return *indexer_; }

 private:
  std::size_t FileLineCount() const;
  std::string_view Keep(std::string&& line) const;

  ui::LineStore head_;
  std::shared_ptr<const FileIndexer> indexer_;
  std::unique_ptr<platform::BlockCache> cache_;
  std::string openLine_;  // the open line as shown
  mutable std::string raw_;
  mutable std::array<std::string, kLineViewsKept> recent_;
  mutable std::size_t nextRecent_ = 0;
};

// `raw` (a line as read, zero bytes and tabs still in it) as a view shows it.
std::string ShownLine(std::string_view raw);

}  // namespace brontel
