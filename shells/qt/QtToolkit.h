/** @file QtToolkit.h: the toolkit of viewers that live in Qt 5 Widgets. */
#pragma once

#include <cstdint>
#include <memory>

#include "shells/qt/QtClipboard.h"
#include "shells/qt/QtPoster.h"
#include "shells/qt/QtScreenCursor.h"
#include "shells/qt/QtTimerDriver.h"
#include "ui/Toolkit.h"

namespace brontel::qt {

// Clipboard, override cursor, queued posting, QTimer-driven timers and the application's beep.
// A native handle given by a host is a QWidget* (or 0 for none). Make it on the UI thread of
// a running Qt application; it must outlive every viewer it served.
class QtToolkit final : public ui::Toolkit {
 public:
  QtToolkit() = default;

  ui::Clipboard& clipboard() override { return clipboard_; }
  ui::ScreenCursor& cursor() override { return cursor_; }
  ui::UiThreadPoster& poster() override { return poster_; }
  void Beep() override;
  void BindTimer(ui::Timer& timer) override { timers_.Bind(timer); }
  std::unique_ptr<ui::HostWindow> AttachHostWindow(std::uintptr_t nativeHandle) override;

  QtTimerDriver& timers() { return timers_; }

 private:
  QtClipboard clipboard_;
  QtScreenCursor cursor_;
  QtPoster poster_;
  QtTimerDriver timers_;
};

}  // namespace brontel::qt
