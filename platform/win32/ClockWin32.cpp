#include <windows.h>

#include "platform/Clock.h"

namespace brontel::platform {
namespace {

class WindowsClock final : public Clock {
 public:
  std::uint32_t TickCount() const override { return ::GetTickCount(); }

  DateTime Now() const override {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return DateTime{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                    now.wMinute, now.wSecond, now.wMilliseconds};
  }
};

}  // namespace

const Clock& SystemClock() {
  static const WindowsClock clock;
  return clock;
}

}  // namespace brontel::platform
