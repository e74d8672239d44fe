#include "shells/win32/NativePanel.h"

#include "shells/win32/BrushCache.h"
#include "shells/win32/ModuleInstance.h"

namespace brontel::win32 {
namespace {

constexpr char kPanelClass[] = "BrontelPanel";

void RegisterPanelClass() {
  RegisterWindowClass(kPanelClass, &NativeControl::OwnClassProcedure,
                      ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)), nullptr);
}

UINT EdgeOf(ui::BevelKind kind) {
  return kind == ui::BevelKind::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER;
}

UINT SidesOf(ui::BevelShape shape) {
  switch (shape) {
    case ui::BevelShape::TopLine:
      return BF_TOP;
    case ui::BevelShape::BottomLine:
      return BF_BOTTOM;
    case ui::BevelShape::LeftLine:
      return BF_LEFT;
    case ui::BevelShape::RightLine:
      return BF_RIGHT;
    case ui::BevelShape::Box:
    case ui::BevelShape::Frame:
      break;
  }
  return BF_RECT;
}

}  // namespace

HWND NativePanel::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  RegisterPanelClass();
  return ::CreateWindowExA(0, kPanelClass, "", childStyle | WS_CLIPCHILDREN, bounds.left,
                           bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                           parent, nullptr, ModuleInstance(), this);
}

void NativePanel::Apply(ui::Change change) {
  if (change == ui::Change::Caption)
    return;  // the layout's panels show no caption text
  NativeControl::Apply(change);
}

void NativePanel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(Window(), &paint);
  RECT client;
  ::GetClientRect(Window(), &client);
  if (Model() != nullptr) {
    ::FillRect(dc, &client, BrushCache::Shared().Get(Model()->GetColor()));
    if (panel_->BevelOuter() != ui::BevelKind::None)
      ::DrawEdge(dc, &client, EdgeOf(panel_->BevelOuter()), BF_RECT);
  }
  ::EndPaint(Window(), &paint);
}

LRESULT NativePanel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND)
    return 1;
  if (message == WM_PAINT) {
    Paint();
    return 0;
  }
  return NativeControl::Handle(message, wParam, lParam);
}

HWND NativeBevel::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  RegisterPanelClass();
  return ::CreateWindowExA(0, kPanelClass, "", childStyle, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                           ModuleInstance(), this);
}

LRESULT NativeBevel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND)
    return 1;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(Window(), &paint);
    RECT client;
    ::GetClientRect(Window(), &client);
    if (Model() != nullptr) {
      ::FillRect(dc, &client,
                 BrushCache::Shared().Get(
                     Model()->Parent() != nullptr ? Model()->Parent()->GetColor() : ui::clBtnFace));
      ::DrawEdge(dc, &client, EDGE_ETCHED, SidesOf(bevel_->Shape()));
    }
    ::EndPaint(Window(), &paint);
    return 0;
  }
  return NativeControl::Handle(message, wParam, lParam);
}

}  // namespace brontel::win32
