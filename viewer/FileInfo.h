/** @file FileInfo.h: the snapshot of a viewed file that change detection compares. */
#pragma once

#include <cstdint>
#include <string>

namespace brontel {

// A file's path, age, size and last-write time at one moment. A new snapshot has an empty
// path and all numbers 0.
struct fileInfo {
  std::string path;
  std::int32_t age = 0;             // packed DOS date-time (local time), -1 when the file is gone
  std::uint32_t sizeHigh = 0;       // high half of the size
  std::uint32_t sizeLow = 0;        // low half of the size
  std::uint32_t lastWriteLow = 0;   // last-write time in 100-ns units since 1601, low half
  std::uint32_t lastWriteHigh = 0;  // high half

  // The whole 64-bit size.
  std::uint64_t Size() const { return (std::uint64_t{sizeHigh} << 32) | sizeLow; }
  std::uint64_t LastWrite() const { return (std::uint64_t{lastWriteHigh} << 32) | lastWriteLow; }
};

// Takes a snapshot of `path` into `info` (find-first search with hidden, system and directory
// entries included, plus the file-age query). True and every field filled (`info.path` = `path`)
// when the file was found; false and `info` untouched otherwise. Never throws.
bool ReadFileInfo(const std::string& path, fileInfo& info);

// True when path (exact, case-sensitive), both size halves and both last-write halves are equal;
// the age is not compared.
bool SameFileInfo(const fileInfo& a, const fileInfo& b);

}  // namespace brontel
