#include "shells/win32/NativeControl.h"

#include <stdexcept>

#include "diagnostics/Shield.h"
#include "shells/win32/BrushCache.h"
#include "shells/win32/FontCache.h"
#include "shells/win32/GdiCanvas.h"
#include "shells/win32/KeyState.h"
#include "ui/CaptionRoom.h"

namespace brontel::win32 {
namespace {

constexpr char kBindingProperty[] = "BrontelControl";

}  // namespace

NativeControl::NativeControl(ui::Control& model) : model_(&model) {
  observer_ = model.AddObserver([this](ui::Component&, ui::Change change) {
    if (change == ui::Change::Destroyed) {
      model_ = nullptr;
      return;
    }
    if (window_ != nullptr)
      Apply(change);
  });
}

NativeControl::~NativeControl() {
  if (model_ != nullptr)
    model_->RemoveObserver(observer_);
  if (window_ == nullptr)
    return;
  // Detach first: the window's last messages must not reach a half-destroyed binding.
  ::RemovePropA(window_, kBindingProperty);
  if (original_ != nullptr)
    ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  ::DestroyWindow(window_);
}

void NativeControl::Create(HWND parent, KeyRouter& keys) {
  keys_ = &keys;
  const RECT bounds = NativeBounds(model_->Bounds());
  HWND window = CreateNative(parent, WS_CHILD | WS_CLIPSIBLINGS, bounds);
  if (window == nullptr)
    throw std::runtime_error("cannot create the window of " + model_->name());
  if (FromWindow(window) == nullptr) {
    Attach(window);
    Subclass();
  }
  ApplyAll();
}

void NativeControl::Attach(HWND window) {
  window_ = window;
  ::SetPropA(window, kBindingProperty, this);
}

void NativeControl::Subclass() {
  original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeControl::SubclassProcedure)));
}

NativeControl* NativeControl::FromWindow(HWND window) {
  return window == nullptr ? nullptr
                           : static_cast<NativeControl*>(::GetPropA(window, kBindingProperty));
}

void NativeControl::ApplyAll() {
  for (ui::Change change : {ui::Change::Font, ui::Change::Caption, ui::Change::Enabled,
                            ui::Change::Visible, ui::Change::Focus})
    Apply(change);
}

RECT NativeControl::NativeBounds(const ui::Rect& bounds) const {
  const SIZE need = CaptionNeed();
  if (model_ == nullptr || need.cx <= 0)
    return RECT{bounds.left, bounds.top, bounds.right, bounds.bottom};
  const ui::Rect r = ui::CaptionBounds(*model_, ui::Size{need.cx, need.cy});
  return RECT{r.left, r.top, r.right, r.bottom};
}

SIZE NativeControl::CaptionExtent() const {
  HDC dc = ::GetDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, FontCache::Shared().Get(model_->GetFont()));
  RECT r{0, 0, 0, 0};
  ::DrawTextA(dc, model_->Caption().c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void NativeControl::Apply(ui::Change change) {
  if (model_ == nullptr || window_ == nullptr)
    return;
  SyncScope scope(*this);
  switch (change) {
    case ui::Change::Bounds: {
      const RECT r = NativeBounds(model_->Bounds());
      ::MoveWindow(window_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
      break;
    }
    case ui::Change::Visible:
      ::ShowWindow(window_, model_->Visible() ? SW_SHOWNA : SW_HIDE);
      if (model_->Visible())  // a panel that floats over the view comes to the front
        ::SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case ui::Change::Enabled:
      ::EnableWindow(window_, model_->Enabled());
      break;
    case ui::Change::Caption:
      ::SetWindowTextA(window_, model_->Caption().c_str());
      if (CaptionNeed().cx > 0)  // the room the new caption needs
        Apply(ui::Change::Bounds);
      break;
    case ui::Change::Font:
      ::SendMessageA(window_, WM_SETFONT,
                     reinterpret_cast<WPARAM>(FontCache::Shared().Get(model_->GetFont())), TRUE);
      if (CaptionNeed().cx > 0)
        Apply(ui::Change::Bounds);
      break;
    case ui::Change::Color:
      ::InvalidateRect(window_, nullptr, TRUE);
      break;
    case ui::Change::Focus:
      FollowFocus();
      break;
    default:
      break;
  }
}

void NativeControl::FollowFocus() {
  if (model_->Focused() && ::GetFocus() != window_ && ::IsWindowVisible(window_))
    ::SetFocus(window_);
}

bool NativeControl::RelayChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && lParam != 0) {
    NativeControl* child = FromWindow(reinterpret_cast<HWND>(lParam));
    if (child == nullptr || child->model_ == nullptr)
      return false;
    child->Command(HIWORD(wParam));
    result = 0;
    return true;
  }
  if (message == WM_DRAWITEM && lParam != 0) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    NativeControl* child = FromWindow(item.hwndItem);
    if (child == nullptr || child->model_ == nullptr || !child->DrawItem(item))
      return false;
    result = TRUE;
    return true;
  }
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    NativeControl* child = FromWindow(reinterpret_cast<HWND>(lParam));
    if (child == nullptr || child->model_ == nullptr)
      return false;
    const auto dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, GdiCanvas::ToColorRef(child->model_->GetColor()));
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    result = reinterpret_cast<LRESULT>(BrushCache::Shared().Get(child->model_->GetColor()));
    return true;
  }
  return false;
}

LRESULT NativeControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT relayed = 0;
  if (RelayChildMessage(message, wParam, lParam, relayed))
    return relayed;
  switch (message) {
    case WM_SETFOCUS:
      if (model_ != nullptr && !syncing_) {
        SyncScope scope(*this);
        model_->SetFocus();
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const auto key = static_cast<ui::KeyCode>(wParam);
      const ui::ShiftState shift = CurrentShiftState();
      if (keys_ != nullptr && !(OwnsFieldKeys() && ui::IsFieldKey(key, shift)) &&
          (keys_->PreviewKey(key, shift) || keys_->ShortCut(key, shift)))
        return 0;
      break;
    }
    default:
      break;
  }
  return CallOriginal(message, wParam, lParam);
}

LRESULT NativeControl::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  if (original_ != nullptr)
    return ::CallWindowProcA(original_, window_, message, wParam, lParam);
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT NativeControl::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    const WNDPROC original = original_;
    ::RemovePropA(window, kBindingProperty);
    window_ = nullptr;
    original_ = nullptr;
    return original != nullptr ? ::CallWindowProcA(original, window, message, wParam, lParam)
                               : ::DefWindowProcA(window, message, wParam, lParam);
  }
  // Nothing may escape into the host's message loop.
  return Shield::Value("window procedure", LRESULT{0},
                       [&] { return Handle(message, wParam, lParam); });
}

LRESULT CALLBACK NativeControl::SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  NativeControl* self = FromWindow(window);
  if (self == nullptr)
    return ::DefWindowProcA(window, message, wParam, lParam);
  return self->Dispatch(window, message, wParam, lParam);
}

LRESULT CALLBACK NativeControl::OwnClassProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (auto* self = static_cast<NativeControl*>(create->lpCreateParams))
      self->Attach(window);
  }
  NativeControl* self = FromWindow(window);
  if (self == nullptr)
    return ::DefWindowProcA(window, message, wParam, lParam);
  return self->Dispatch(window, message, wParam, lParam);
}

}  // namespace brontel::win32
