#include "shells/headless/RecordingHostWindow.h"

namespace brontel::headless {

void RecordingHostWindow::Deliver(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  messages_.push_back(HostMessage{message, wParam, lParam});
  events_.push_back(messages_.back());
}

void RecordingHostWindow::TakeFocus() {
  ++focusRequests_;
  events_.push_back(HostMessage{0, 0, 0});
}

void RecordingHostWindow::TypeKey(ui::KeyCode key) {
  typedKeys_.push_back(key);
  events_.push_back(HostMessage{ui::msg::KeyDown, key, 0});
  events_.push_back(HostMessage{ui::msg::KeyUp, key, 0});
}

void RecordingHostWindow::Reset() {
  events_.clear();
  messages_.clear();
  typedKeys_.clear();
  focusRequests_ = 0;
}

}  // namespace brontel::headless
