#include "shells/win32/NativeButton.h"

#include "shells/win32/ButtonGlyph.h"
#include "shells/win32/FontCache.h"
#include "shells/win32/ModuleInstance.h"

namespace brontel::win32 {
namespace {

HWND CreateButtonWindow(HWND parent, DWORD style, const RECT& bounds, bool tabStop) {
  return ::CreateWindowExA(0, "BUTTON", "", style | (tabStop ? WS_TABSTOP : 0), bounds.left,
                           bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                           parent, nullptr, ModuleInstance(), nullptr);
}

}  // namespace

HWND NativeButton::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  drawsGlyph_ = WantsGlyph();
  const DWORD look = (drawsGlyph_ ? BS_OWNERDRAW : BS_PUSHBUTTON) | (button_->Flat() ? BS_FLAT : 0);
  return CreateButtonWindow(parent, childStyle | look, bounds, button_->TabStop());
}

bool NativeButton::WantsGlyph() const {
  const std::string& face = button_->GetFont().name;
  return FontCache::IsSymbolFace(face) && !FontCache::Shared().HasFace(face);
}

void NativeButton::Apply(ui::Change change) {
  NativeControl::Apply(change);
  if (change != ui::Change::Font || Model() == nullptr || WantsGlyph() == drawsGlyph_)
    return;
  drawsGlyph_ = !drawsGlyph_;
  ::SendMessageA(Window(), BM_SETSTYLE, drawsGlyph_ ? BS_OWNERDRAW : BS_PUSHBUTTON, TRUE);
}

bool NativeButton::DrawItem(const DRAWITEMSTRUCT& item) {
  if (!drawsGlyph_)
    return false;
  const std::string& caption = button_->Caption();
  // A caption that stands for no glyph is text: shown in an interface face, not the missing
  // symbol face's stand-in.
  PaintGlyphButton(item, GlyphOfCaption(caption), caption,
                   FontCache::Shared().Get(ui::Font{"Tahoma", button_->GetFont().height}));
  return true;
}

// The text inside the button's edges; a symbol's size is the layout's.
SIZE NativeButton::CaptionNeed() const {
  if (FontCache::IsSymbolFace(button_->GetFont().name))
    return SIZE{0, 0};
  const SIZE text = CaptionExtent();
  return SIZE{text.cx + 4 * ::GetSystemMetrics(SM_CXEDGE), text.cy};
}

void NativeButton::Command(WORD code) {
  if (code == BN_CLICKED && Model() != nullptr)
    button_->Click();
}

HWND NativeCheckBox::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  return CreateButtonWindow(parent, childStyle | BS_AUTOCHECKBOX, bounds, box_->TabStop());
}

void NativeCheckBox::Apply(ui::Change change) {
  NativeControl::Apply(change);
  if ((change == ui::Change::Checked || change == ui::Change::Visible) && Model() != nullptr)
    ::SendMessageA(Window(), BM_SETCHECK, box_->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The box, the gap after it and the text.
SIZE NativeCheckBox::CaptionNeed() const {
  const SIZE text = CaptionExtent();
  const int box = ::GetSystemMetrics(SM_CXMENUCHECK);
  return SIZE{box + 2 * ::GetSystemMetrics(SM_CXEDGE) + text.cx, std::max<LONG>(text.cy, box)};
}

void NativeCheckBox::Command(WORD code) {
  if (code != BN_CLICKED || Model() == nullptr || syncing())
    return;
  const bool checked = ::SendMessageA(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  box_->SetChecked(checked);
  // A handler may have refused the change (or set it back): show what the model holds.
  if (Model() != nullptr && Window() != nullptr)
    ::SendMessageA(Window(), BM_SETCHECK, box_->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace brontel::win32
