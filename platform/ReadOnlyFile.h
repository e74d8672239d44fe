/** @file ReadOnlyFile.h: a file opened for reading only, sharing read and write with others. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace brontel::platform {

// An open file that can only be read. Other processes may keep writing it meanwhile (it is
// opened with read and write sharing), so its size may change between calls. Not thread-safe;
// one owner uses it at a time. Errors are PlatformError carrying the file's path.
class ReadOnlyFile {
 public:
  virtual ~ReadOnlyFile() = default;

  // The path the file was opened with (for messages).
  virtual const std::string& Path() const = 0;
  // The file's current size in bytes (64-bit: files of 2 GiB and more are fine).
  virtual std::uint64_t Size() const = 0;
  // Reads up to `count` bytes starting at byte `offset` into `buffer` and returns how many were
  // read; 0 means the end of the file (also for an offset beyond it).
  virtual std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t count) = 0;
};

// Reads `count` bytes from `offset` into `buffer`, in as many reads as it takes, fewer where the
// file ends before; answers how many were read. Errors as ReadAt.
std::size_t ReadFullyAt(ReadOnlyFile& file, std::uint64_t offset, char* buffer, std::size_t count);
// The same into a string of what was read.
std::string ReadBytesAt(ReadOnlyFile& file, std::uint64_t offset, std::size_t count);

// Opens `path` for reading only; never creates, truncates or writes it, and never blocks:
// the open is non-blocking, and anything but a regular file (FIFO, device, directory, socket)
// is refused. Throws PlatformError when the file cannot be opened or is not a regular file.
std::unique_ptr<ReadOnlyFile> OpenReadOnlyFile(const std::string& path);

}  // namespace brontel::platform
