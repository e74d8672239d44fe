// The plug-in module on the Win32 shell: its viewers for the shared entry points.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "diagnostics/TraceLog.h"
#include "plugin/module/ModuleEntryPoints.h"
#include "settings/ExtMgr.h"
#include "shells/win32/ViewerWindow.h"
#include "shells/win32/Win32Toolkit.h"
#include "viewer/TForm1.h"

namespace brontel {
namespace win32 {
namespace {

// Made on the first ListLoad, on the host's UI thread, which owns its hidden window. Never
// destroyed: viewers the host leaves open at unload keep pointing at it.
Win32Toolkit& ModuleToolkit() {
  static Win32Toolkit* const toolkit = new Win32Toolkit();
  return *toolkit;
}

class Win32ViewerFactory final : public ViewerFactory {
 public:
  TListWindowIntf& CreateViewer(std::uintptr_t parentWindow, const std::string& fileName) override {
    Win32Toolkit& toolkit = ModuleToolkit();
    auto form = std::make_unique<TForm1>(toolkit, parentWindow, fileName);
    TForm1* viewer = form.get();
    ViewerWindow& window = ViewerWindow::Open(
        *form, reinterpret_cast<HWND>(parentWindow), toolkit.screenCursor(),
        [viewer](ui::KeyCode& key, ui::ShiftState shift) { viewer->FormKeyDown(key, shift); },
        &form->controls().ActionList2);
    form->BindNativeWindow(reinterpret_cast<std::uintptr_t>(window.Window()));
    form->FormCreate();
    form->SetVisible(true);
    form->FormShow();
    return *form.release();  // from here on the viewer's close handling frees it
  }
  void CloseViewer(TListWindowIntf& viewer) override { static_cast<TForm1&>(viewer).Close(); }
};

// Keeps this module loaded until the process ends, whatever FreeLibrary the host calls: a
// closed viewer is freed by a message the host's loop delivers later, and its window classes,
// timers and the watcher's thread run this module's code (ModuleEntryPoints.h).
void PinModule() {
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&PinModule), &self))
    TraceLine("PinModule", "the module cannot be kept loaded: unloading it is unsafe");
}

}  // namespace
}  // namespace win32

// Built on the first entry-point call, which pins the module; the viewers are not freed at
// unload.
ListerPlugin& ModulePlugin() {
  static win32::Win32ViewerFactory factory;
  static ListerPlugin plugin = [] {
    win32::PinModule();
    return ListerPlugin(factory, []() -> ExtManager& { return GetExtMgr(); });
  }();
  return plugin;
}

}  // namespace brontel
