/** @file VirtualClock.h: a manual clock that fires bound timers deterministically. */
#pragma once

#include <cstdint>
#include <vector>

#include "ui/Timer.h"

namespace brontel::headless {

// Drives ui::Timer models from a clock that only moves when a test says so. Advance(ms) fires
// every tick that falls due within the span, in time order (timers due at the same moment in
// the order they were bound), each at its own moment: a handler that changes a timer's
// interval or enabled state affects the ticks that follow at once. UI thread only.
class VirtualClock {
 public:
  VirtualClock() = default;
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;
  // Unbinds every timer that is still alive.
  ~VirtualClock();

  void Bind(ui::Timer& timer);
  // Stops driving `timer` (nothing when it is not bound).
  void Unbind(ui::Timer& timer);

  // Milliseconds since the clock was created.
  std::uint64_t Now() const { return now_; }
  void Advance(std::uint64_t milliseconds);
  // The moment the next tick falls due, or UINT64_MAX when no timer will fire.
  std::uint64_t NextDue() const;
  // Advances exactly to the next tick and fires it; false when no timer will fire.
  bool FireNext();
  // How many ticks have fired so far.
  std::uint64_t TicksFired() const { return ticksFired_; }

 private:
  struct Slot {
    ui::Timer* timer;
    ui::Component::ObserverId observer;
    std::uint64_t dueAt;
    std::uint64_t order;
  };
  void Restart(ui::Timer& timer);
  void Forget(ui::Component& timer);
  Slot* Earliest(std::uint64_t notAfter);
  static bool Armed(const Slot& slot);

  std::vector<Slot> slots_;
  std::uint64_t now_ = 0;
  std::uint64_t nextOrder_ = 0;
  std::uint64_t ticksFired_ = 0;
};

}  // namespace brontel::headless
