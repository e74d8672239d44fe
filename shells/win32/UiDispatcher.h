/** @file UiDispatcher.h: posted work and timers on a hidden window of the UI thread. */
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "ui/Timer.h"
#include "ui/UiThreadPoster.h"

namespace brontel::win32 {

// A message-only window of the thread that creates it (the host's UI thread). Post queues the
// work and posts a message to the window, so the work runs when the host's message loop next
// dispatches; bound timers run on SetTimer ticks of the same window. Work and ticks that throw
// are stopped by the shield, which records them: nothing escapes into the host's message loop.
//
// Threads: Post from any thread; everything else on the creating thread.
class UiDispatcher final : public ui::UiThreadPoster {
 public:
  // Throws std::runtime_error when the window cannot be created.
  UiDispatcher();
  ~UiDispatcher() override;
  UiDispatcher(const UiDispatcher&) = delete;
  UiDispatcher& operator=(const UiDispatcher&) = delete;

  void Post(std::function<void()> work) override;
  // Drives `timer` by its interval and enabled state until the timer is destroyed.
  void BindTimer(ui::Timer& timer);

  // Work posted and not yet run.
  std::size_t Pending() const;
  // Timers bound and alive.
  std::size_t BoundTimers() const { return timers_.size(); }

 private:
  struct BoundTimer {
    ui::Timer* timer;
    ui::Component::ObserverId observer;
  };

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunPosted();
  void Tick(UINT_PTR id);
  void Restart(UINT_PTR id);

  HWND window_ = nullptr;
  mutable std::mutex queueMutex_;
  std::deque<std::function<void()>> queue_;
  std::map<UINT_PTR, BoundTimer> timers_;
  UINT_PTR nextTimerId_ = 1;
};

}  // namespace brontel::win32
