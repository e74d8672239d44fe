/** @file Timer.h: the timer model (interval, enabled, OnTimer) that a shell's clock drives. */
#pragma once

#include <cstdint>
#include <string>

#include "ui/Component.h"

namespace brontel::ui {

// A periodic timer. The model holds the state; the shell it is bound to (Toolkit::BindTimer)
// counts down and calls Fire. Rules the shells keep:
// - the countdown (re)starts when the timer becomes enabled and whenever the interval changes
//   while it is enabled (observers see Change::Interval / Change::Enabled);
// - an interval of 0 never fires;
// - a tick calls OnTimer on the UI thread; OnTimer may change interval or enabled.
class Timer : public Component {
 public:
  explicit Timer(std::string name, std::uint32_t interval = 1000, bool enabled = true)
      : Component(std::move(name)), interval_(interval), enabled_(enabled) {}

  std::uint32_t Interval() const { return interval_; }
  // A different value restarts the countdown; the same value changes nothing.
  void SetInterval(std::uint32_t milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // One tick: runs OnTimer when the timer is enabled. Called by the shell's clock.
  void Fire();

  NotifyEvent OnTimer;

 private:
  std::uint32_t interval_;
  bool enabled_;
};

}  // namespace brontel::ui
