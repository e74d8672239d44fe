#include "shells/headless/HeadlessToolkit.h"

namespace brontel::headless {

namespace {

// Hands every call to the toolkit's recording window for the same handle.
class ForwardingHostWindow : public ui::HostWindow {
 public:
  explicit ForwardingHostWindow(RecordingHostWindow& target) : target_(target) {}
  std::uintptr_t NativeHandle() const override { return target_.NativeHandle(); }
  bool HasParentWindow() const override { return target_.HasParentWindow(); }
  void Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    target_.Deliver(message, wParam, lParam);
  }
  void TakeFocus() override { target_.TakeFocus(); }
  void TypeKey(ui::KeyCode key) override { target_.TypeKey(key); }

 private:
  RecordingHostWindow& target_;
};

}  // namespace

RecordingHostWindow& HeadlessToolkit::Host(std::uintptr_t nativeHandle) {
  auto& slot = hosts_[nativeHandle];
  if (!slot)
    slot = std::make_unique<RecordingHostWindow>(nativeHandle, true);
  return *slot;
}

std::unique_ptr<ui::HostWindow> HeadlessToolkit::AttachHostWindow(std::uintptr_t nativeHandle) {
  return std::make_unique<ForwardingHostWindow>(Host(nativeHandle));
}

}  // namespace brontel::headless
