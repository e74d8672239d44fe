#include "platform/FileFacts.h"

namespace brontel::platform {
namespace {

// Seconds from 1601-01-01 to 1970-01-01 (369 years, 89 of them leap years).
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kTicksPerSecond = 10'000'000;

}  // namespace

std::uint64_t FileTimeFromUnixTime(std::int64_t seconds, std::int64_t nanoseconds) {
  const std::int64_t since1601 = seconds + kSecondsFrom1601To1970;
  if (since1601 < 0)
    return 0;
  return static_cast<std::uint64_t>(since1601) * kTicksPerSecond +
         static_cast<std::uint64_t>(nanoseconds / 100);
}

}  // namespace brontel::platform
