/** @file PlatformError.h: the one exception type for every failure of the operating system. */
#pragma once

#include <stdexcept>
#include <string>

namespace brontel::platform {

// Raised by platform/ for any failed OS call, so that no caller ever looks at errno or
// GetLastError. Carries the path the call was about and the system's reason.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(std::string path, std::string reason);

  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// Builds a PlatformError from the calling thread's last OS error (errno on POSIX).
PlatformError LastOsError(const std::string& path);

}  // namespace brontel::platform
