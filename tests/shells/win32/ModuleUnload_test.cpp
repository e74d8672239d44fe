#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "tests/shells/win32/HostFixture.h"

namespace brontel::win32::testing {
namespace {

// A host that calls FreeLibrary on the module while work of its viewers is still under way
// (the posted free of a closed viewer, timers, the watcher's thread). Each test loads its own
// copy of the module file, which is a module of its own whatever else the process has loaded.
class ModuleUnloadTest : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    const std::string module = ProgramFolder() + BRONTEL_TEST_MODULE_NAME;
    ASSERT_TRUE(::CopyFileA(module.c_str(), copyPath_.c_str(), FALSE));
    unloading_ = std::make_unique<Win32PluginHost>(copyPath_);
    unloading_->ListSetDefaultParams(PathOf("wincmd.ini"));
    folder_.Write("app.log", "E\tfirst error\r\n");
  }
  void TearDown() override {
    RecordingHost::Pump(50);
    HostFixture::TearDown();
  }

  static std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path);
    return program.substr(0, program.find_last_of("\\/") + 1);
  }
  bool StillLoaded() const { return ::GetModuleHandleA(copyPath_.c_str()) != nullptr; }

  const std::string copyPath_ = PathOf("unloaded.wlx");
  std::unique_ptr<Win32PluginHost> unloading_;
};

TEST_F(ModuleUnloadTest, FreeLibraryRightAfterACloseSurvivesThePostedFree) {
  HWND viewer = unloading_->ListLoad(host_->window(), PathOf("app.log"), 0);
  ASSERT_NE(viewer, nullptr);
  RecordingHost::Pump(300);
  unloading_->ListCloseWindow(viewer);
  unloading_->FreeModule();
  RecordingHost::Pump(1500);  // the viewer's free, and any timer that was still due
  EXPECT_FALSE(::IsWindow(viewer));
  EXPECT_TRUE(StillLoaded());
}

TEST_F(ModuleUnloadTest, AViewerLeftOpenAtFreeLibraryKeepsFollowingItsLog) {
  HWND viewer = unloading_->ListLoad(host_->window(), PathOf("app.log"), 0);
  ASSERT_NE(viewer, nullptr);
  RecordingHost::Pump(300);
  unloading_->FreeModule();
  folder_.Append("app.log", "E\twhile unloaded\r\n");
  RecordingHost::Pump(2500);  // timers, the watcher's reports and the reloads run its code
  ASSERT_TRUE(::IsWindow(viewer));

  Win32PluginHost reloaded(copyPath_);  // the user reloads the plug-ins: the same module
  bool shown = false;
  for (int waited = 0; waited < 20000 && !shown; waited += 100) {
    RecordingHost::Pump(100);
    shown = reloaded.ListSearchText(viewer, "while unloaded", kFindFirst) == 0;
  }
  EXPECT_TRUE(shown);
  reloaded.ListCloseWindow(viewer);
}

}  // namespace
}  // namespace brontel::win32::testing
