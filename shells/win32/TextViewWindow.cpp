#include "shells/win32/TextViewWindow.h"

#include <algorithm>

#include "shells/win32/FontCache.h"
#include "shells/win32/GdiCanvas.h"
#include "shells/win32/KeyState.h"
#include "shells/win32/ModuleInstance.h"

namespace brontel::win32 {
namespace {

constexpr char kTextViewClass[] = "BrontelTextView";

}  // namespace

TextViewWindow::TextViewWindow(ui::TRAHLEditor& editor, Win32Cursor& cursor)
    : NativeControl(editor),
      editor_(&editor),
      cursor_(cursor),
      popup_(editor.GetPopupMenu(), *this) {}

HWND TextViewWindow::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  RegisterWindowClass(kTextViewClass, &NativeControl::OwnClassProcedure, nullptr, nullptr);
  layoutBounds_ = ui::Rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
  return ::CreateWindowExA(0, kTextViewClass, "", childStyle | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                           bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, parent, nullptr, ModuleInstance(), this);
}

void TextViewWindow::Apply(ui::Change change) {
  if (Model() == nullptr)
    return;
  switch (change) {
    case ui::Change::Bounds: {
      const ui::Rect bounds = editor_->Bounds();
      if (bounds == fittedBounds_)
        return;  // our own correction for the scroll bars
      layoutBounds_ = bounds;
      ::MoveWindow(Window(), bounds.left, bounds.top, bounds.Width(), bounds.Height(), TRUE);
      FitModelToClient();
      return;
    }
    case ui::Change::Repaint: {
      const ui::Rect area = editor_->TakeInvalidRect();
      if (!area.IsEmpty()) {
        const RECT native{area.left, area.top, area.right, area.bottom};
        ::InvalidateRect(Window(), &native, FALSE);
      }
      PlaceCaret();
      return;
    }
    case ui::Change::Scroll:
      UpdateScrollBars();
      PlaceCaret();
      return;
    case ui::Change::Font: {
      HDC dc = ::GetDC(Window());
      editor_->SetCellSize(
          GdiCanvas::MeasureCell(dc, FontCache::Shared().GetFixedPitch(editor_->GetFont())));
      ::ReleaseDC(Window(), dc);
      ::InvalidateRect(Window(), nullptr, FALSE);
      return;
    }
    case ui::Change::Caption:
      return;
    default:
      NativeControl::Apply(change);
  }
}

void TextViewWindow::FitModelToClient() {
  if (Model() == nullptr || Window() == nullptr)
    return;
  RECT client;
  ::GetClientRect(Window(), &client);
  fittedBounds_ =
      ui::Rect::FromSize(layoutBounds_.left, layoutBounds_.top, client.right, client.bottom);
  if (editor_->Bounds() != fittedBounds_)
    editor_->SetBounds(fittedBounds_);
  UpdateScrollBars();
}

void TextViewWindow::UpdateScrollBars() {
  if (Model() == nullptr)
    return;
  SCROLLINFO vertical{};
  vertical.cbSize = sizeof vertical;
  vertical.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  vertical.nMax = editor_->RowCount() - 1 + editor_->VisibleRows() - 1;
  vertical.nPage = static_cast<UINT>(editor_->VisibleRows());
  vertical.nPos = editor_->TopRow();
  ::SetScrollInfo(Window(), SB_VERT, &vertical, TRUE);
  SCROLLINFO horizontal{};
  horizontal.cbSize = sizeof horizontal;
  horizontal.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  horizontal.nMax = editor_->MaxLeftCol() + editor_->VisibleCols() - 1;
  horizontal.nPage = static_cast<UINT>(editor_->VisibleCols());
  horizontal.nPos = editor_->LeftCol();
  ::SetScrollInfo(Window(), SB_HORZ, &horizontal, TRUE);
}

void TextViewWindow::Scroll(int bar, WORD request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(Window(), bar, &info);
  const int page = static_cast<int>(info.nPage);
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP:
      position -= 1;
      break;
    case SB_LINEDOWN:
      position += 1;
      break;
    case SB_PAGEUP:
      position -= page;
      break;
    case SB_PAGEDOWN:
      position += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  if (bar == SB_VERT)
    editor_->SetTopRow(std::max(0, position));
  else
    editor_->SetLeftCol(std::max(0, position));
}

void TextViewWindow::Paint() {
  PAINTSTRUCT paint;
  HDC target = ::BeginPaint(Window(), &paint);
  RECT client;
  ::GetClientRect(Window(), &client);
  if (Model() != nullptr && client.right > 0 && client.bottom > 0) {
    // Drawn off screen and copied in one piece, so a reload never flickers.
    HDC buffer = ::CreateCompatibleDC(target);
    HBITMAP bitmap = ::CreateCompatibleBitmap(target, client.right, client.bottom);
    const HGDIOBJ previous = ::SelectObject(buffer, bitmap);
    {
      GdiCanvas canvas(buffer, editor_->GetFont(), FontCache::Shared());
      const RECT& dirty = paint.rcPaint;
      editor_->Paint(canvas, ui::Rect{dirty.left, dirty.top, dirty.right, dirty.bottom});
    }
    const RECT& dirty = paint.rcPaint;
    ::BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
             buffer, dirty.left, dirty.top, SRCCOPY);
    ::SelectObject(buffer, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(buffer);
  }
  ::EndPaint(Window(), &paint);
}

void TextViewWindow::PlaceCaret() {
  if (!hasCaret_ || Model() == nullptr)
    return;
  const ui::Rect caret = editor_->CaretRect();
  if (caret.IsEmpty())
    ::SetCaretPos(-100, -100);
  else
    ::SetCaretPos(caret.left, caret.top);
}

bool TextViewWindow::KeyDown(WPARAM key) {
  const auto code = static_cast<ui::KeyCode>(key);
  const ui::ShiftState shift = CurrentShiftState();
  if (editor_->KeyDown(code, shift))
    return true;
  return keys() != nullptr && Model() != nullptr && keys()->ShortCut(code, shift);
}

ui::Point TextViewWindow::MousePoint(LPARAM lParam) const {
  return ui::Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LRESULT TextViewWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (Model() == nullptr)
    return CallOriginal(message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      FitModelToClient();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      KeyDown(wParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (KeyDown(wParam))
        return 0;
      break;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      editor_->MouseWheel(static_cast<short>(HIWORD(wParam)), MouseShiftState(LOWORD(wParam)));
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(Window());
      ::SetCapture(Window());
      editor_->MouseDown(ui::MouseButton::Left, MouseShiftState(wParam), MousePoint(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      ::SetFocus(Window());
      editor_->MouseDown(ui::MouseButton::Right, MouseShiftState(wParam), MousePoint(lParam));
      return 0;
    case WM_MOUSEMOVE:
      editor_->MouseMove(MouseShiftState(wParam), MousePoint(lParam));
      return 0;
    case WM_LBUTTONUP:
      ::ReleaseCapture();
      editor_->MouseUp(ui::MouseButton::Left, MouseShiftState(wParam), MousePoint(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      editor_->DoubleClick(MousePoint(lParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        const HCURSOR wanted = cursor_.Override();
        ::SetCursor(wanted != nullptr ? wanted : Win32Cursor::SystemCursor(ui::Cursor::IBeam));
        return TRUE;
      }
      break;
    case WM_SETFOCUS:
      ::CreateCaret(Window(), nullptr, 2, std::max(1, editor_->CellSize().height));
      hasCaret_ = true;
      PlaceCaret();
      ::ShowCaret(Window());
      break;
    case WM_KILLFOCUS:
      hasCaret_ = false;
      ::DestroyCaret();
      break;
    default:
      break;
  }
  return NativeControl::Handle(message, wParam, lParam);
}

}  // namespace brontel::win32
