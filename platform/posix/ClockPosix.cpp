#include <time.h>

#include "platform/Clock.h"

namespace brontel::platform {
namespace {

class PosixClock final : public Clock {
 public:
  std::uint32_t TickCount() const override {
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec / 1'000'000);
    return static_cast<std::uint32_t>(milliseconds);
  }

  DateTime Now() const override {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    struct tm local {};
    ::localtime_r(&now.tv_sec, &local);
    DateTime value;
    value.year = local.tm_year + 1900;
    value.month = local.tm_mon + 1;
    value.day = local.tm_mday;
    value.hour = local.tm_hour;
    value.minute = local.tm_min;
    value.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    value.millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
    return value;
  }
};

}  // namespace

const Clock& SystemClock() {
  static const PosixClock clock;
  return clock;
}

}  // namespace brontel::platform
