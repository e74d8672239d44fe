#include "shells/headless/VirtualClock.h"

#include <algorithm>
#include <limits>

namespace brontel::headless {

VirtualClock::~VirtualClock() {
  for (const Slot& slot : slots_)
    slot.timer->RemoveObserver(slot.observer);
}

void VirtualClock::Bind(ui::Timer& timer) {
  if (std::any_of(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.timer == &timer; })) {
    return;
  }
  const auto observer = timer.AddObserver([this](ui::Component& source, ui::Change change) {
    if (change == ui::Change::Destroyed) {
      Forget(source);
    } else if (change == ui::Change::Enabled || change == ui::Change::Interval) {
      Restart(static_cast<ui::Timer&>(source));
    }
  });
  slots_.push_back(Slot{&timer, observer, now_ + timer.Interval(), nextOrder_++});
}

void VirtualClock::Unbind(ui::Timer& timer) {
  auto it =
      std::find_if(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.timer == &timer; });
  if (it == slots_.end())
    return;
  timer.RemoveObserver(it->observer);
  slots_.erase(it);
}

void VirtualClock::Restart(ui::Timer& timer) {
  for (Slot& slot : slots_) {
    if (slot.timer == &timer)
      slot.dueAt = now_ + timer.Interval();
  }
}

void VirtualClock::Forget(ui::Component& timer) {
  std::erase_if(slots_, [&](const Slot& s) { return s.timer == &timer; });
}

bool VirtualClock::Armed(const Slot& slot) {
  return slot.timer->Enabled() && slot.timer->Interval() > 0;
}

VirtualClock::Slot* VirtualClock::Earliest(std::uint64_t notAfter) {
  Slot* best = nullptr;
  for (Slot& slot : slots_) {
    if (!Armed(slot) || slot.dueAt > notAfter)
      continue;
    if (!best || slot.dueAt < best->dueAt ||
        (slot.dueAt == best->dueAt && slot.order < best->order)) {
      best = &slot;
    }
  }
  return best;
}

std::uint64_t VirtualClock::NextDue() const {
  std::uint64_t due = std::numeric_limits<std::uint64_t>::max();
  for (const Slot& slot : slots_) {
    if (Armed(slot))
      due = std::min(due, slot.dueAt);
  }
  return due;
}

void VirtualClock::Advance(std::uint64_t milliseconds) {
  const std::uint64_t target = now_ + milliseconds;
  while (Slot* slot = Earliest(target)) {
    now_ = slot->dueAt;
    slot->dueAt = now_ + slot->timer->Interval();
    ui::Timer* timer = slot->timer;  // the handler may bind or destroy timers: slot may move
    ++ticksFired_;
    timer->Fire();
  }
  now_ = target;
}

bool VirtualClock::FireNext() {
  const std::uint64_t due = NextDue();
  if (due == std::numeric_limits<std::uint64_t>::max())
    return false;
  Advance(due - now_);
  return true;
}

}  // namespace brontel::headless
