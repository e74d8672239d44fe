#include "shells/win32/ViewerWindow.h"

#include <commctrl.h>

#include "shells/win32/BrushCache.h"
#include "shells/win32/ModuleInstance.h"
#include "shells/win32/NativeButton.h"
#include "shells/win32/NativeField.h"
#include "shells/win32/NativePanel.h"
#include "shells/win32/TextViewWindow.h"

namespace brontel::win32 {
namespace {

constexpr char kViewerClass[] = "BrontelViewer";

// The form's key bindings act on these themselves (and let the key go on), so their action
// shortcuts must not run a second time.
bool BindingsActOn(ui::KeyCode key, ui::ShiftState shift) {
  const ui::ShiftState mods = ui::Modifiers(shift);
  const bool ctrl = mods == ui::ShiftState::Ctrl;
  const bool shiftCtrl = mods == (ui::ShiftState::Shift | ui::ShiftState::Ctrl);
  return (ctrl || shiftCtrl) && (key == 'E' || key == 'W' || key == 'U' || key == 'C');
}

}  // namespace

ViewerWindow& ViewerWindow::Open(ui::Form& form, HWND parent, Win32Cursor& cursor, KeyBindings keys,
                                 ui::ActionList* actions) {
  std::unique_ptr<ViewerWindow> window(new ViewerWindow(form, cursor, std::move(keys), actions));
  window->Build(parent);
  return *window.release();  // freed when the form goes
}

ViewerWindow::ViewerWindow(ui::Form& form, Win32Cursor& cursor, KeyBindings keys,
                           ui::ActionList* actions)
    : NativeControl(form),
      form_(&form),
      cursor_(cursor),
      keys_(std::move(keys)),
      actions_(actions) {
  lifeObserver_ = form.AddObserver([this](ui::Component&, ui::Change change) {
    if (change == ui::Change::Destroyed) {
      form_ = nullptr;
      delete this;
    }
  });
}

ViewerWindow::~ViewerWindow() {
  if (form_ != nullptr)
    form_->RemoveObserver(lifeObserver_);
  if (toolTips_ != nullptr)
    ::DestroyWindow(toolTips_);
  // One sweep takes every native child with the form's window; the bindings then only forget.
  if (Window() != nullptr)
    ::DestroyWindow(Window());
  children_.clear();
}

void ViewerWindow::Build(HWND parent) {
  if (!::IsWindow(parent))
    throw std::runtime_error("the host window does not exist");
  RECT client;
  ::GetClientRect(parent, &client);
  form_->SetClientSize(client.right, client.bottom);
  Create(parent, *this);
  CreateChildren(*form_, Window());
  AddToolTips();
}

HWND ViewerWindow::CreateNative(HWND parent, DWORD childStyle, const RECT& bounds) {
  RegisterWindowClass(kViewerClass, &NativeControl::OwnClassProcedure,
                      ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)), nullptr);
  return ::CreateWindowExA(0, kViewerClass, "", childStyle | WS_CLIPCHILDREN, bounds.left,
                           bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                           parent, nullptr, ModuleInstance(), this);
}

std::unique_ptr<NativeControl> ViewerWindow::MakeBinding(ui::Control& model) {
  if (auto* editor = dynamic_cast<ui::TRAHLEditor*>(&model))
    return std::make_unique<TextViewWindow>(*editor, cursor_);
  if (auto* panel = dynamic_cast<ui::Panel*>(&model))
    return std::make_unique<NativePanel>(*panel);
  if (auto* bevel = dynamic_cast<ui::Bevel*>(&model))
    return std::make_unique<NativeBevel>(*bevel);
  if (auto* box = dynamic_cast<ui::CheckBox*>(&model))
    return std::make_unique<NativeCheckBox>(*box);
  if (auto* button = dynamic_cast<ui::Button*>(&model))
    return std::make_unique<NativeButton>(*button);
  if (auto* list = dynamic_cast<ui::ComboBox*>(&model))
    return std::make_unique<NativeComboBox>(*list);
  if (auto* edit = dynamic_cast<ui::Edit*>(&model))
    return std::make_unique<NativeEdit>(*edit);
  if (auto* label = dynamic_cast<ui::Label*>(&model))
    return std::make_unique<NativeLabel>(*label);
  return nullptr;
}

void ViewerWindow::CreateChildren(ui::Control& model, HWND parentWindow) {
  for (ui::Control* child : model.Children()) {
    std::unique_ptr<NativeControl> binding = MakeBinding(*child);
    if (binding == nullptr)
      continue;
    binding->Create(parentWindow, *this);
    // Later children of the layout lie above earlier ones (the navigation block and the
    // options panel float over the text view).
    ::SetWindowPos(binding->Window(), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (dynamic_cast<ui::TRAHLEditor*>(child) != nullptr)
      textView_ = binding->Window();
    const HWND childWindow = binding->Window();
    children_.push_back(std::move(binding));
    CreateChildren(*child, childWindow);
  }
}

void ViewerWindow::AddToolTips() {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&classes);
  toolTips_ =
      ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr, ModuleInstance(), nullptr);
  if (toolTips_ == nullptr)
    return;  // hints are a comfort; the viewer works without them
  for (const auto& child : children_) {
    const ui::Control* model = child->Model();
    if (model == nullptr || !model->ShowHint() || model->Hint().empty())
      continue;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Window();
    tool.uId = reinterpret_cast<UINT_PTR>(child->Window());
    tool.lpszText = const_cast<char*>(model->Hint().c_str());
    ::SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

HWND ViewerWindow::ControlWindow(const std::string& name) const {
  for (const auto& child : children_) {
    if (child->Model() != nullptr && child->Model()->name() == name)
      return child->Window();
  }
  return nullptr;
}

bool ViewerWindow::PreviewKey(ui::KeyCode key, ui::ShiftState shift) {
  if (form_ == nullptr || !keys_)
    return false;
  ui::KeyCode code = key;
  keys_(code, shift);
  return code == 0;
}

bool ViewerWindow::ShortCut(ui::KeyCode key, ui::ShiftState shift) {
  if (form_ == nullptr || actions_ == nullptr || BindingsActOn(key, shift))
    return false;
  return actions_->HandleShortCut(key, shift);
}

void ViewerWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(Window(), &paint);
  if (form_ != nullptr)
    ::FillRect(dc, &paint.rcPaint, BrushCache::Shared().Get(form_->GetColor()));
  ::EndPaint(Window(), &paint);
}

LRESULT ViewerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SIZE:
      if (form_ != nullptr && !syncing()) {
        SyncScope scope(*this);
        form_->SetClientSize(LOWORD(lParam), HIWORD(lParam));
      }
      return 0;
    case WM_DESTROY:
      if (toolTips_ != nullptr) {
        ::DestroyWindow(toolTips_);
        toolTips_ = nullptr;
      }
      break;
    case WM_SETFOCUS:
      // The host focuses the window it got from ListLoad; the text view takes the keys.
      if (textView_ != nullptr && ::IsWindowVisible(textView_)) {
        ::SetFocus(textView_);
        return 0;
      }
      break;
    default:
      break;
  }
  return NativeControl::Handle(message, wParam, lParam);
}

}  // namespace brontel::win32
