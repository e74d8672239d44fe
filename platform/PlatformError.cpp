#include "platform/PlatformError.h"

namespace brontel::platform {

PlatformError::PlatformError(std::string path, std::string reason)
    : std::runtime_error(path.empty() ? reason : path + ": " + reason),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

}  // namespace brontel::platform
