/** @file FilterPass.h: an indexed file's lines filtered again, read by the index. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "classify/BufferClassifier.h"
#include "classify/LineClassifier.h"
#include "platform/ReadOnlyFile.h"
#include "viewer/FileIndexer.h"
#include "viewer/FilteredRows.h"
#include "viewer/LineFilter.h"

namespace brontel {

// The rows another filter shows of a file that is indexed already: the lines are read again by
// where the index says they lie, a stretch at a time, and asked of the filter; they are not split,
// counted or indexed again, and their types are found only when the filter asks for types. So a
// changed filter costs reading the file and the filter's own work, not a new load.
//
// Ownership: shares the indexer, which must not change while the pass runs (it is idle: its
// index complete). Threads: owned by one thread at a time, which asks PerMille too.
class FilterPass {
 public:
  static constexpr std::size_t kStretch = 128 << 10;

  // `types` must hold the indexer's message types (their counts do not matter).
  FilterPass(std::unique_ptr<platform::ReadOnlyFile> file,
             std::shared_ptr<const FileIndexer> indexer, std::unique_ptr<LineFilter> filter,
             std::unique_ptr<LineClassifier> types);

  // Filters the next stretch of lines (the open line last); false once every line was asked.
  // Throws PlatformError when a read fails, std::runtime_error when it comes short (the file
  // changed under the view).
  bool Step();
  int PerMille() const;

  // The result, once Step answered false.
  std::unique_ptr<LineFilter> TakeFilter() { return std::move(filter_); }
  std::unique_ptr<FilteredRows> TakeRows() { return std::move(rows_); }

 private:
  // The type of `line` when the filter needs it.
  int TypeOf(std::string_view line, BufferClassifier* classifier);
  void TakeOpenLine();

  std::unique_ptr<platform::ReadOnlyFile> file_;
  std::shared_ptr<const FileIndexer> indexer_;
  std::unique_ptr<LineFilter> filter_;
  std::unique_ptr<LineClassifier> types_;
  std::unique_ptr<FilteredRows> rows_;
  std::size_t nextLine_ = 0;
  std::uint64_t nextStart_ = 0;
  bool done_ = false;
  std::string buffer_;
};

}  // namespace brontel
