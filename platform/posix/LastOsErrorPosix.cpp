#include <cerrno>
#include <cstring>

#include "platform/PlatformError.h"

namespace brontel::platform {

PlatformError LastOsError(const std::string& path) {
  return PlatformError(path, std::strerror(errno));
}

}  // namespace brontel::platform
