/** @file StateFile.h: a small file of the viewer's own, replaced whole and shared by processes. */
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brontel::platform {

// Who a file is, whatever its name: the same file keeps its identity when it is renamed, and a
// file created in its place (a rotated log) gets another one. Empty where the system tells none.
// Never throws.
std::string FileIdentityOf(const std::string& path);

// Replaces the file at `path` with `contents` in one step: written to a temporary file beside it
// (named `path` + ".tmp"), flushed to disk and moved over the old one, so a reader sees either
// the old file or the new one, and a crash leaves one of the two. A temporary file left by an
// interrupted replace is overwritten. Throws PlatformError when the system refuses.
void ReplaceFileContents(const std::string& path, std::string_view contents);

// Moves the file at `path` aside to `aside` (replacing what is there); false when it could not.
// Never throws.
bool MoveFileAside(const std::string& path, const std::string& aside);

// An exclusive lock on a lock file, held while the object lives; other processes that take the
// same lock wait for it. The lock file is made when missing and left in place.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// Takes the lock on `lockPath`, waiting at most about two seconds for another holder; nullptr
// when it cannot be taken (an unwritable folder, a holder that keeps it). Never throws.
std::unique_ptr<FileLock> TakeFileLock(const std::string& lockPath);

}  // namespace brontel::platform
