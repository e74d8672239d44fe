/** @file NativeButton.h: push buttons, speed buttons and check boxes as BUTTON windows. */
#pragma once

#include "shells/win32/NativeControl.h"
#include "shells/win32/NativePopupMenu.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"

namespace brontel::win32 {

// A push button (flat for a speed button); a click runs the model's Click, and a drop-down menu
// pops up below it. A button whose caption is in a symbol face the system lacks is owner-drawn
// and paints its glyph itself.
class NativeButton final : public NativeControl {
 public:
  explicit NativeButton(ui::Button& button)
      : NativeControl(button), button_(&button), dropDown_(button.DropDownMenu(), *this) {}

  // Whether the button paints its caption's glyph itself.
  bool DrawsGlyph() const { return drawsGlyph_; }

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  void Apply(ui::Change change) override;
  void Command(WORD code) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  SIZE CaptionNeed() const override;

 private:
  bool WantsGlyph() const;

  ui::Button* button_;
  NativePopupMenu dropDown_;
  bool drawsGlyph_ = false;
};

// A BS_AUTOCHECKBOX: the user's click toggles the native box, and the model follows (running
// its click handler); a state set by code only moves the native box.
class NativeCheckBox final : public NativeControl {
 public:
  explicit NativeCheckBox(ui::CheckBox& box) : NativeControl(box), box_(&box) {}

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  void Apply(ui::Change change) override;
  void Command(WORD code) override;
  SIZE CaptionNeed() const override;

 private:
  ui::CheckBox* box_;
};

}  // namespace brontel::win32
