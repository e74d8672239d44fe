/** @file MemoryFile.h: a read-only file held in memory, for tests and fuzzing. */
#pragma once

#include <cstdint>
#include <string>

#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

// A ReadOnlyFile over a byte string. The content may be replaced between reads to imitate a
// file that grows or shrinks under its reader.
class MemoryFile final : public ReadOnlyFile {
 public:
  explicit MemoryFile(std::string content, std::string path = "memory");

  void SetContent(std::string content) { content_ = std::move(content); }
  // Reports this size instead of the content's (imitates files larger than memory); the bytes
  // beyond the content read as nothing. 0 turns the override off.
  void SetReportedSize(std::uint64_t size) { reportedSize_ = size; }

  const std::string& Path() const override { return path_; }
  std::uint64_t Size() const override;
  std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) override;

 private:
  std::string content_;
  std::string path_;
  std::uint64_t reportedSize_ = 0;
};

}  // namespace brontel::platform
