/** @file IniWriterLock.h: the lock that writers of one ini file in any process share. */
#pragma once

#include <string>

namespace brontel::platform {

// An exclusive lock on the hidden file "." + name + ".lock" beside the ini file at
// `targetPath` (symbolic links already followed), held for the object's life. It waits up to
// kIniLockWaitMs for another holder, then raises PlatformError. Where no lock file can be made
// or locked (a read-only folder, a file system without locks), the object holds nothing and the
// write goes on alone: it then fails on its own or has the file to itself anyway.
class IniWriterLock {
 public:
  explicit IniWriterLock(const std::string& targetPath);
  ~IniWriterLock();
  IniWriterLock(const IniWriterLock&) = delete;
  IniWriterLock& operator=(const IniWriterLock&) = delete;

  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

// Removes the temporary files "." + name + "." + digits + ".tmp" beside the ini file at
// `targetPath`: writes that were interrupted left them. Call only while holding the lock, when
// no other write can be under way. Failures are ignored.
void RemoveStaleIniTemporaries(const std::string& targetPath);

// The directory part of `path` ("." when it has none) and its last component.
std::string IniDirectoryOf(const std::string& path);
std::string IniBaseNameOf(const std::string& path);

}  // namespace brontel::platform
