#include "diagnostics/TraceLog.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace brontel {

bool TraceEnabled() {
  static const bool enabled = std::getenv("BRONTEL_TRACE") != nullptr;
  return enabled;
}

void TraceLine(std::string_view where, std::string_view what) {
  if (!TraceEnabled())
    return;
  static std::mutex writing;
  const std::lock_guard<std::mutex> lock(writing);
  std::fprintf(stderr, "brontel: %.*s: %.*s\n", static_cast<int>(where.size()), where.data(),
               static_cast<int>(what.size()), what.data());
}

}  // namespace brontel
