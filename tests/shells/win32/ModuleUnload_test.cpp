#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/shells/win32/HostFixture.h"

namespace brontel::win32::testing {
namespace {

// A host that calls FreeLibrary right after closing one viewer (its free still posted) and
// with another one open (timers, the watcher's thread). The test loads its own copy of the
// module file, a module of its own whatever else the process has loaded.
class ModuleUnloadTest : public HostFixture {};

TEST_F(ModuleUnloadTest, PostedWorkAndViewersLeftOpenOutliveFreeLibrary) {
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string module(program);
  module = module.substr(0, module.find_last_of("\\/") + 1) + BRONTEL_TEST_MODULE_NAME;
  const std::string copy = PathOf("unloaded.wlx");
  ASSERT_TRUE(::CopyFileA(module.c_str(), copy.c_str(), FALSE));
  folder_.Write("app.log", "E\tfirst error\r\n");

  HWND closed = nullptr;
  HWND open = nullptr;
  {
    Win32PluginHost unloading(copy);
    unloading.ListSetDefaultParams(PathOf("wincmd.ini"));
    closed = unloading.ListLoad(host_->window(), PathOf("app.log"), 0);
    open = unloading.ListLoad(host_->window(), PathOf("app.log"), 0);
    ASSERT_TRUE(closed != nullptr && open != nullptr);
    RecordingHost::Pump(300);
    unloading.ListCloseWindow(closed);
    unloading.Unload();
  }
  folder_.Append("app.log", "E\twhile unloaded\r\n");
  RecordingHost::Pump(2500);  // the posted free, timers, the watcher's reports and the reloads
  EXPECT_FALSE(::IsWindow(closed));
  ASSERT_TRUE(::IsWindow(open));
  EXPECT_NE(::GetModuleHandleA(copy.c_str()), nullptr);

  Win32PluginHost reloaded(copy);  // the user reloads the plug-ins: the same module
  bool shown = false;
  for (int waited = 0; waited < 20000 && !shown; waited += 100) {
    RecordingHost::Pump(100);
    shown = reloaded.ListSearchText(open, "while unloaded", kFindFirst) == 0;
  }
  EXPECT_TRUE(shown);
  reloaded.ListCloseWindow(open);
}

}  // namespace
}  // namespace brontel::win32::testing
