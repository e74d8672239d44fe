#include "ui/Timer.h"

namespace brontel::ui {

void Timer::SetInterval(std::uint32_t milliseconds) {
  if (milliseconds == interval_)
    return;
  interval_ = milliseconds;
  Notify(Change::Interval);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  Notify(Change::Enabled);
}

void Timer::Fire() {
  if (enabled_ && OnTimer)
    OnTimer(*this);
}

}  // namespace brontel::ui
