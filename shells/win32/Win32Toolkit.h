/** @file Win32Toolkit.h: the Win32 toolkit the viewers of a plug-in module run on. */
#pragma once

#include <cstdint>
#include <memory>

#include "shells/win32/UiDispatcher.h"
#include "shells/win32/Win32Clipboard.h"
#include "shells/win32/Win32Cursor.h"
#include "ui/Toolkit.h"

namespace brontel::win32 {

// Clipboard, cursor, beep, posted work and timers on the real Windows functions. Create it on
// the host's UI thread: its hidden dispatcher window belongs to that thread. Throws
// std::runtime_error when that window cannot be created.
class Win32Toolkit final : public ui::Toolkit {
 public:
  Win32Toolkit() = default;

  ui::Clipboard& clipboard() override { return clipboard_; }
  ui::ScreenCursor& cursor() override { return cursor_; }
  ui::UiThreadPoster& poster() override { return dispatcher_; }
  void Beep() override;
  void BindTimer(ui::Timer& timer) override { dispatcher_.BindTimer(timer); }
  std::unique_ptr<ui::HostWindow> AttachHostWindow(std::uintptr_t nativeHandle) override;

  Win32Cursor& screenCursor() { return cursor_; }
  UiDispatcher& dispatcher() { return dispatcher_; }

 private:
  UiDispatcher dispatcher_;
  Win32Clipboard clipboard_;
  Win32Cursor cursor_;
};

}  // namespace brontel::win32
