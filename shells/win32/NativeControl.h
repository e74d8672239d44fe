/** @file NativeControl.h: one control model bound to one native child window. */
#pragma once

#include <windows.h>

#include "shells/win32/KeyRouter.h"
#include "ui/Control.h"

namespace brontel::win32 {

// The base of every binding: creates the native window, keeps bounds, visibility, enabled
// state, caption, font and focus in step with the model, and turns the window's messages into
// model calls. A window of a system class (button, edit, ...) is subclassed; a window of one
// of the shell's own classes uses OwnClassProcedure. Every window of the shell finds its
// binding through a window property, so WM_COMMAND and WM_CTLCOLOR* reach the child's binding
// whichever window is its parent.
//
// Lifetime: the model may go first (then the binding only forgets it) or the native window
// may (a host that destroys its window; then model changes are ignored). UI thread only.
class NativeControl {
 public:
  explicit NativeControl(ui::Control& model);
  virtual ~NativeControl();
  NativeControl(const NativeControl&) = delete;
  NativeControl& operator=(const NativeControl&) = delete;

  // Creates the native window inside `parent` and brings it to the model's state. Throws
  // std::runtime_error when the window cannot be created.
  void Create(HWND parent, KeyRouter& keys);

  HWND Window() const { return window_; }
  // The model, or nullptr once it has been destroyed.
  ui::Control* Model() const { return model_; }

  // The binding of a window of the shell, or nullptr.
  static NativeControl* FromWindow(HWND window);
  // WM_COMMAND, WM_CTLCOLOR* and WM_DRAWITEM of a child, handed to the child's binding; true
  // when handled.
  static bool RelayChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The window procedure of the shell's own window classes.
  static LRESULT CALLBACK OwnClassProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

 protected:
  // Makes the window (child style, clip-siblings and `bounds` given); own classes pass `this`
  // as the creation parameter.
  virtual HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) = 0;
  // The native rectangle for the model's bounds (a drop-down list adds its list's height); a
  // control with a caption goes where the caption finds room (ui::CaptionBounds).
  virtual RECT NativeBounds(const ui::Rect& bounds) const;
  // The room the caption needs in the control's font; none for controls the layout sizes.
  virtual SIZE CaptionNeed() const { return SIZE{0, 0}; }
  // The caption as the control draws it (an '&' marks the accelerator), in the model's font.
  SIZE CaptionExtent() const;
  // Follows a model change; the base handles the state every control shares.
  virtual void Apply(ui::Change change);
  // A notification code of WM_COMMAND from this control.
  virtual void Command(WORD) {}
  // Paints an owner-drawn control; true when it did.
  virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
  // Messages of the window; the base handles focus and key preview and relays children's
  // messages, everything else goes to the original procedure.
  virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  // For system classes: routes the window's messages through Handle.
  void Subclass();
  // Whether the keys of a text field (ui::IsFieldKey) belong to the control: an edit field's
  // text, a drop-down list's choice.
  virtual bool OwnsFieldKeys() const { return false; }

  KeyRouter* keys() const { return keys_; }
  // Guards model-to-native writes against the notifications they cause.
  bool syncing() const { return syncing_; }
  class SyncScope {
   public:
    explicit SyncScope(NativeControl& control) : control_(control), was_(control.syncing_) {
      control_.syncing_ = true;
    }
    ~SyncScope() { control_.syncing_ = was_; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;

   private:
    NativeControl& control_;
    bool was_;
  };

 private:
  static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
  void Attach(HWND window);
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyAll();
  void FollowFocus();

  ui::Control* model_;
  ui::Component::ObserverId observer_ = 0;
  HWND window_ = nullptr;
  WNDPROC original_ = nullptr;
  KeyRouter* keys_ = nullptr;
  bool syncing_ = false;
};

}  // namespace brontel::win32
