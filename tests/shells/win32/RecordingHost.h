/** @file RecordingHost.h: a host window that records what the viewers hand back to it. */
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace brontel::win32::testing {

struct HostMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const HostMessage&) const = default;
};

// A visible top-level window (or, with `parent`, a child window of that one) as a file
// manager's viewer window: it keeps the viewer windows that it was given filling its client
// area (the host's part of the interface) and records the key, character and close messages
// it receives. A close message is recorded and handed to OnClose; without one the window stays.
class RecordingHost {
 public:
  explicit RecordingHost(HWND parent = nullptr, int width = 640, int height = 480);
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  HWND window() const { return window_; }
  // A viewer whose window the host sizes from now on (and at once).
  void Adopt(HWND viewer);
  void Forget(HWND viewer);

  const std::vector<HostMessage>& Messages() const { return messages_; }
  // The recorded messages of one kind.
  std::vector<HostMessage> Messages(UINT message) const;
  void ClearMessages() { messages_.clear(); }
  int FocusGained() const { return focusGained_; }
  // Runs after a close message was recorded, as a host's reaction to it.
  std::function<void()> OnClose;

  // Runs the thread's message loop for `milliseconds` (timers and posted work included).
  static void Pump(int milliseconds);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void FitViewers();

  HWND window_ = nullptr;
  std::vector<HWND> viewers_;
  std::vector<HostMessage> messages_;
  int focusGained_ = 0;
};

}  // namespace brontel::win32::testing
