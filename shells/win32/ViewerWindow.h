/** @file ViewerWindow.h: a viewer form as a borderless child window of the host's window. */
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "shells/win32/KeyRouter.h"
#include "shells/win32/NativeControl.h"
#include "shells/win32/Win32Cursor.h"
#include "ui/Action.h"
#include "ui/Form.h"

namespace brontel::win32 {

// The native side of one viewer form: a WS_CHILD window without border that fills the host
// window's client area and follows the size the host gives it (WM_SIZE), with one native window
// per control of the form, tooltips for the controls that show hints, and the form's key
// handling: keys of the options panel's controls pass the form's key bindings first; keys that
// no control used go to the form's action shortcuts.
//
// Lifetime: Open makes the window and the window frees itself when the form is destroyed (its
// native windows go with it). A host that destroys its own window first only leaves the
// bindings without windows. UI thread only.
class ViewerWindow final : public NativeControl, public KeyRouter {
 public:
  // The form's key bindings (key code may be set to 0 to consume the key).
  using KeyBindings = std::function<void(ui::KeyCode& key, ui::ShiftState shift)>;

  // Creates the window of `form` inside `parent` and sizes the form to the parent's client area.
  // Throws std::runtime_error when a window cannot be created (nothing is left behind then).
  static ViewerWindow& Open(ui::Form& form, HWND parent, Win32Cursor& cursor, KeyBindings keys,
                            ui::ActionList* actions);
  ~ViewerWindow() override;

  bool PreviewKey(ui::KeyCode key, ui::ShiftState shift) override;
  bool ShortCut(ui::KeyCode key, ui::ShiftState shift) override;

  // The window of the control named `name`, or nullptr.
  HWND ControlWindow(const std::string& name) const;

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ViewerWindow(ui::Form& form, Win32Cursor& cursor, KeyBindings keys, ui::ActionList* actions);
  void Build(HWND parent);
  void CreateChildren(ui::Control& model, HWND parentWindow);
  std::unique_ptr<NativeControl> MakeBinding(ui::Control& model);
  void AddToolTips();
  void Paint();

  ui::Form* form_;
  Win32Cursor& cursor_;
  KeyBindings keys_;
  ui::ActionList* actions_;
  ui::Component::ObserverId lifeObserver_ = 0;
  std::vector<std::unique_ptr<NativeControl>> children_;
  HWND textView_ = nullptr;
  // A child window cannot own a popup, so the tooltip window belongs to the host's top-level
  // window; the viewer destroys it itself when it goes.
  HWND toolTips_ = nullptr;
};

}  // namespace brontel::win32
