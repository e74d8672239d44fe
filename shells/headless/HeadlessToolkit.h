/** @file HeadlessToolkit.h: the toolkit the tests run viewers on. */
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "shells/headless/MemoryClipboard.h"
#include "shells/headless/QueuedPoster.h"
#include "shells/headless/RecordingHostWindow.h"
#include "shells/headless/VirtualClock.h"
#include "ui/Toolkit.h"

namespace brontel::headless {

// A screen cursor that remembers every change.
class RecordingCursor : public ui::ScreenCursor {
 public:
  ui::Cursor Current() const override { return current_; }
  void Set(ui::Cursor cursor) override {
    current_ = cursor;
    history_.push_back(cursor);
  }
  void ProcessMessages() override { ++processMessagesCalls_; }

  const std::vector<ui::Cursor>& History() const { return history_; }
  int ProcessMessagesCalls() const { return processMessagesCalls_; }

 private:
  ui::Cursor current_ = ui::Cursor::Default;
  std::vector<ui::Cursor> history_;
  int processMessagesCalls_ = 0;
};

// Virtual clock, in-memory clipboard, recording cursor, queued poster, a beep counter and one
// recording host window per native handle (created on first use; HasParentWindow true unless
// a test says otherwise).
class HeadlessToolkit : public ui::Toolkit {
 public:
  ui::Clipboard& clipboard() override { return clipboard_; }
  ui::ScreenCursor& cursor() override { return cursor_; }
  ui::UiThreadPoster& poster() override { return poster_; }
  void Beep() override { ++beeps_; }
  void BindTimer(ui::Timer& timer) override { clock_.Bind(timer); }
  // The returned window forwards to Host(nativeHandle), which the test inspects.
  std::unique_ptr<ui::HostWindow> AttachHostWindow(std::uintptr_t nativeHandle) override;

  VirtualClock& clock() { return clock_; }
  MemoryClipboard& memoryClipboard() { return clipboard_; }
  RecordingCursor& recordingCursor() { return cursor_; }
  QueuedPoster& queuedPoster() { return poster_; }
  int Beeps() const { return beeps_; }
  RecordingHostWindow& Host(std::uintptr_t nativeHandle);

 private:
  VirtualClock clock_;
  MemoryClipboard clipboard_;
  RecordingCursor cursor_;
  QueuedPoster poster_;
  int beeps_ = 0;
  std::map<std::uintptr_t, std::unique_ptr<RecordingHostWindow>> hosts_;
};

}  // namespace brontel::headless
