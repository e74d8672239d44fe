#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/host/PluginHost.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::host {
namespace {

namespace fs = std::filesystem;

void* const kParent = reinterpret_cast<void*>(0x4711);

// Hosts unload their plug-ins at exit, after a close, or when the user reloads them. Each test
// loads its own copy of the module (a file of its own is a module of its own, whatever else the
// process has loaded), unloads it while work of its viewers is still under way, and goes on
// running: the watcher's thread and the posted close must still find their code.
class ModuleUnloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1);
    fs::copy_file(BRONTEL_TEST_MODULE_PATH, modulePath_);
    folder_.Write("app.log", "E   first error\n");
  }

  // Whether the module file is still mapped into the process.
  bool StillLoaded() const {
    void* module = ::dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module != nullptr)
      ::dlclose(module);
    return module != nullptr;
  }

  // Appends a line, which wakes the watcher's thread of every viewer of the log.
  void AppendAndWait(const std::string& line) {
    folder_.Append("app.log", line + "\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }

  testing::ScratchFolder folder_;
  const std::string modulePath_ = folder_.File("unloaded.wlx");
};

TEST_F(ModuleUnloadTest, UnloadingAfterACloseLeavesThePostedWorkItsCode) {
  PluginHost host(modulePath_);
  host.ListSetDefaultParams(folder_.File("wincmd.ini"));
  void* viewer = host.ListLoad(kParent, folder_.File("app.log").c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  host.RunMessageLoop(100);
  host.ListCloseWindow(viewer);  // the viewer is freed by posted work that has not run yet
  host.Unload();
  AppendAndWait("E   after the unload");
  EXPECT_TRUE(StillLoaded());

  PluginHost reloaded(modulePath_);  // the user reloads the plug-ins
  reloaded.RunMessageLoop(100);      // the close posted before the unload runs now
  void* again = reloaded.ListLoad(kParent, folder_.File("app.log").c_str(), 0);
  ASSERT_NE(again, nullptr);
  reloaded.RunMessageLoop(100);
  EXPECT_EQ(reloaded.ListSearchText(again, "after the unload", 0), 0);
  reloaded.ListCloseWindow(again);
  reloaded.RunMessageLoop(0);
}

TEST_F(ModuleUnloadTest, AViewerLeftOpenAtUnloadKeepsFollowingItsLog) {
  PluginHost host(modulePath_);
  host.ListSetDefaultParams(folder_.File("wincmd.ini"));
  void* viewer = host.ListLoad(kParent, folder_.File("app.log").c_str(), 0);
  ASSERT_NE(viewer, nullptr);
  host.RunMessageLoop(100);
  host.Unload();
  AppendAndWait("E   while unloaded");
  AppendAndWait("E   still unloaded");

  PluginHost reloaded(modulePath_);
  reloaded.RunMessageLoop(1000);
  EXPECT_EQ(reloaded.ListSearchText(viewer, "still unloaded", 0), 0);
  reloaded.ListCloseWindow(viewer);
  reloaded.RunMessageLoop(0);
}

}  // namespace
}  // namespace brontel::host
