// The plug-in module on the headless toolkit: its viewers for the shared entry points, plus one
// test-only entry that stands in for the host's message loop (posted work and timers).

#include <cstdint>
#include <memory>
#include <string>

#include "diagnostics/Shield.h"
#include "plugin/module/ModuleEntryPoints.h"
#include "settings/ExtMgr.h"
#include "shells/headless/HeadlessToolkit.h"
#include "viewer/TForm1.h"

namespace brontel {
namespace headless {
namespace {

// The module's toolkit. Never destroyed: viewers the host leaves open at unload keep pointing
// at it, and unloading frees no viewer.
HeadlessToolkit& ModuleToolkit() {
  static HeadlessToolkit* const toolkit = new HeadlessToolkit();
  return *toolkit;
}

class HeadlessViewerFactory final : public ViewerFactory {
 public:
  TListWindowIntf& CreateViewer(std::uintptr_t parentWindow, const std::string& fileName) override {
    auto viewer = std::make_unique<TForm1>(ModuleToolkit(), parentWindow, fileName);
    viewer->FormCreate();
    viewer->SetVisible(true);
    viewer->FormShow();
    return *viewer.release();  // from here on the viewer's close handling frees it
  }
  void CloseViewer(TListWindowIntf& viewer) override { static_cast<TForm1&>(viewer).Close(); }
};

void RunPostedWork() {
  QueuedPoster& poster = ModuleToolkit().queuedPoster();
  // A piece that throws is dropped and the rest stays queued: keep going until it is empty.
  for (int attempts = 0; poster.Pending() > 0 && attempts < 1000; ++attempts)
    Shield::Run("posted work", [&] { poster.RunPending(); });
}

}  // namespace
}  // namespace headless

// Built on first use; its registry is released when the process ends, the viewers are not.
ListerPlugin& ModulePlugin() {
  static headless::HeadlessViewerFactory factory;
  static ListerPlugin plugin(factory, []() -> ExtManager& { return GetExtMgr(); });
  return plugin;
}

}  // namespace brontel

// Test hosts only: runs the posted work, advances the virtual clock by `milliseconds` (firing
// the timers that fall due), and runs the posted work again. When `listWindow` is registered
// and `selection` is not null, stores its caret offset, selection length and text length there
// and answers 0; otherwise answers 1.
BRONTEL_MODULE_EXPORT int BrontelHeadlessDrive(std::uint64_t milliseconds, void* listWindow,
                                               std::int64_t* selection) {
  return brontel::Shield::Value("BrontelHeadlessDrive", 1, [&] {
    using namespace brontel::headless;
    RunPostedWork();
    brontel::Shield::Run("timers", [&] { ModuleToolkit().clock().Advance(milliseconds); });
    RunPostedWork();
    brontel::TListWindowIntf* viewer =
        brontel::ModulePlugin().registry().Find(reinterpret_cast<std::uintptr_t>(listWindow));
    if (viewer == nullptr || selection == nullptr)
      return 1;
    selection[0] = viewer->GetSelStart();
    selection[1] = viewer->GetSelLength();
    selection[2] = viewer->GetTextLength();
    return 0;
  });
}
