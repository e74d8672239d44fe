/** @file Toolkit.h: everything a viewer needs from its GUI toolkit, in one interface. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/Clipboard.h"
#include "ui/HostWindow.h"
#include "ui/ScreenCursor.h"
#include "ui/Timer.h"
#include "ui/UiThreadPoster.h"

namespace brontel::ui {

// What a shell provides (Qt, Win32, headless). A form gets one passed in and never reaches a
// toolkit any other way. All calls are made on the UI thread except poster().Post, which any
// thread may call. The toolkit outlives every form, timer and host window it served.
class Toolkit {
 public:
  virtual ~Toolkit() = default;

  virtual Clipboard& clipboard() = 0;
  virtual ScreenCursor& cursor() = 0;
  virtual UiThreadPoster& poster() = 0;
  // The default beep (MessageBeep with 0xFFFFFFFF on Windows).
  virtual void Beep() = 0;

  // Starts driving `timer` (its state and later changes); a destroyed timer unbinds itself.
  virtual void BindTimer(Timer& timer) = 0;

  // The host window for a native handle given by the host.
  virtual std::unique_ptr<HostWindow> AttachHostWindow(std::uintptr_t nativeHandle) = 0;

  // A new timer, already bound.
  std::unique_ptr<Timer> CreateTimer(std::string name, std::uint32_t interval, bool enabled) {
    auto timer = std::make_unique<Timer>(std::move(name), interval, enabled);
    BindTimer(*timer);
    return timer;
  }
};

}  // namespace brontel::ui
