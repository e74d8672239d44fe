#include <time.h>

#include "platform/Clock.h"
#include "platform/posix/LocalTime.h"

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
    DateTime value = LocalDateTimeOf(now.tv_sec).value_or(DateTime{});
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
