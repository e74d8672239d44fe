// The plug-in module on the Win32 shell: the host's four entry points and nothing else.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/ListerPlugin.h"
#include "settings/ExtMgr.h"
#include "shells/win32/ViewerWindow.h"
#include "shells/win32/Win32Toolkit.h"
#include "viewer/TForm1.h"

namespace brontel::win32 {
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

// Built on first use; the viewers themselves are not freed at unload.
ListerPlugin& Plugin() {
  static Win32ViewerFactory factory;
  static ListerPlugin plugin(factory, []() -> ExtManager& { return GetExtMgr(); });
  return plugin;
}

}  // namespace
}  // namespace brontel::win32

#define BRONTEL_ENTRY extern "C" __declspec(dllexport)

BRONTEL_ENTRY void __stdcall ListSetDefaultParams(const void* defaultParams) {
  try {
    brontel::win32::Plugin().ListSetDefaultParams(defaultParams);
  } catch (...) {
  }
}

BRONTEL_ENTRY HWND __stdcall ListLoad(HWND parentWin, char* fileToLoad, int showFlags) {
  try {
    const std::uintptr_t handle = brontel::win32::Plugin().ListLoad(
        reinterpret_cast<std::uintptr_t>(parentWin), fileToLoad, showFlags);
    return reinterpret_cast<HWND>(handle);
  } catch (...) {
    return nullptr;
  }
}

BRONTEL_ENTRY void __stdcall ListCloseWindow(HWND listWin) {
  try {
    brontel::win32::Plugin().ListCloseWindow(reinterpret_cast<std::uintptr_t>(listWin));
  } catch (...) {
  }
}

BRONTEL_ENTRY int __stdcall ListSearchText(HWND listWin, char* searchString, int searchParameter) {
  try {
    return brontel::win32::Plugin().ListSearchText(reinterpret_cast<std::uintptr_t>(listWin),
                                                   searchString, searchParameter);
  } catch (...) {
    return 1;
  }
}
