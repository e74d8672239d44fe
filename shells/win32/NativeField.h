/** @file NativeField.h: labels, edit fields and drop-down lists as STATIC, EDIT and COMBOBOX. */
#pragma once

#include "shells/win32/NativeControl.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Label.h"

namespace brontel::win32 {

// Static text (vertically centred when the model asks for it).
class NativeLabel final : public NativeControl {
 public:
  explicit NativeLabel(ui::Label& label) : NativeControl(label), label_(&label) {}

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  SIZE CaptionNeed() const override { return CaptionExtent(); }

 private:
  ui::Label* label_;
};

// A single-line edit field; what the user types reaches the model at once, and the model's
// text written by code replaces the field's.
class NativeEdit final : public NativeControl {
 public:
  explicit NativeEdit(ui::Edit& edit) : NativeControl(edit), edit_(&edit) {}

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  void Apply(ui::Change change) override;
  void Command(WORD code) override;
  bool OwnsFieldKeys() const override { return true; }

 private:
  ui::Edit* edit_;
};

// A CBS_DROPDOWNLIST; the user's choice runs the model's UserSelect.
class NativeComboBox final : public NativeControl {
 public:
  explicit NativeComboBox(ui::ComboBox& box) : NativeControl(box), box_(&box) {}

 protected:
  HWND CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) override;
  RECT NativeBounds(const ui::Rect& bounds) const override;
  void Apply(ui::Change change) override;
  void Command(WORD code) override;
  bool OwnsFieldKeys() const override { return true; }

 private:
  void FillItems();
  ui::ComboBox* box_;
};

}  // namespace brontel::win32
