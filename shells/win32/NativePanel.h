/** @file NativePanel.h: a panel (or bevel) as a window of the shell's own class. */
#pragma once

#include "shells/win32/NativeControl.h"
#include "ui/Panel.h"

namespace brontel::win32 {

// Paints the panel's colour and its bevel, and holds the native windows of the panel's
// children, whose notifications it hands on to their bindings.
class NativePanel final : public NativeControl {
 public:
  explicit NativePanel(ui::Panel& panel) : NativeControl(panel), panel_(&panel) {}

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Apply(ui::Change change) override;

 private:
  void Paint();
  ui::Panel* panel_;
};

// A bevel line or frame, painted with DrawEdge.
class NativeBevel final : public NativeControl {
 public:
  explicit NativeBevel(ui::Bevel& bevel) : NativeControl(bevel), bevel_(&bevel) {}

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ui::Bevel* bevel_;
};

}  // namespace brontel::win32
