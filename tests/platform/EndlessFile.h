/** @file EndlessFile.h: a test file that never stops growing. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ReadOnlyFile.h"

namespace brontel::platform {

// A file whose writer is always faster than its reader: every read finds more lines, and
// its size at the open was small.
class EndlessFile final : public ReadOnlyFile {
 public:
  const std::string& Path() const override { return path_; }
  std::uint64_t Size() const override { return 100; }
  std::size_t ReadAt(std::uint64_t, char* buffer, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i)
      buffer[i] = i % 10 == 9 ? '\n' : 'x';
    read_ += count;
    return count;
  }
  std::uint64_t BytesRead() const { return read_; }

 private:
  std::string path_ = "endless";
  std::uint64_t read_ = 0;
};

}  // namespace brontel::platform
