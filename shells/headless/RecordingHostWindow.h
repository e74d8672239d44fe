/** @file RecordingHostWindow.h: a host window that records what the viewer hands back to it. */
#pragma once

#include <cstdint>
#include <vector>

#include "ui/HostWindow.h"

namespace brontel::headless {

struct HostMessage {
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  friend bool operator==(const HostMessage&, const HostMessage&) = default;
};

// Records messages, focus requests and typed keys, in one ordered event list as well.
class RecordingHostWindow : public ui::HostWindow {
 public:
  explicit RecordingHostWindow(std::uintptr_t handle = 1, bool hasParent = true)
      : handle_(handle), hasParent_(hasParent) {}

  std::uintptr_t NativeHandle() const override { return handle_; }
  bool HasParentWindow() const override { return hasParent_; }
  void SetHasParentWindow(bool hasParent) { hasParent_ = hasParent; }
  void Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void TakeFocus() override;
  void TypeKey(ui::KeyCode key) override;

  // What happened, in order. Focus requests appear as {0, 0, 0}; typed keys as a key-down
  // followed by a key-up message of the key (lParam 0), as the host would receive them.
  const std::vector<HostMessage>& Events() const { return events_; }
  const std::vector<HostMessage>& Messages() const { return messages_; }
  const std::vector<ui::KeyCode>& TypedKeys() const { return typedKeys_; }
  int FocusRequests() const { return focusRequests_; }
  void Reset();

 private:
  std::uintptr_t handle_;
  bool hasParent_;
  std::vector<HostMessage> events_;
  std::vector<HostMessage> messages_;
  std::vector<ui::KeyCode> typedKeys_;
  int focusRequests_ = 0;
};

}  // namespace brontel::headless
