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

void* const kParent = reinterpret_cast<void*>(0x4711);

// Hosts unload their plug-ins at exit, after a close, or when the user reloads them. The test
// loads its own copy of the module (a file of its own is a module of its own, whatever else
// the process has loaded) and unloads it while one viewer's free is still posted and another
// viewer is open with its watcher's thread: both must still find their code.
TEST(ModuleUnload, WorkUnderWayAndViewersLeftOpenOutliveTheUnload) {
  testing::ScratchFolder folder;
  ::setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
  const std::string module = folder.File("unloaded.wlx");
  std::filesystem::copy_file(BRONTEL_TEST_MODULE_PATH, module);
  const std::string log = folder.Write("app.log", "E   first error\n");

  PluginHost host(module);
  host.ListSetDefaultParams(folder.File("wincmd.ini"));
  void* closed = host.ListLoad(kParent, log.c_str(), 0);
  void* open = host.ListLoad(kParent, log.c_str(), 0);
  ASSERT_TRUE(closed != nullptr && open != nullptr);
  host.RunMessageLoop(100);
  host.ListCloseWindow(closed);  // freed by posted work that has not run yet
  host.Unload();
  for (const char* line : {"E   while unloaded\n", "E   still unloaded\n"}) {
    folder.Append("app.log", line);  // wakes the open viewer's watcher thread
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  void* stillLoaded = ::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_NE(stillLoaded, nullptr);
  if (stillLoaded != nullptr)
    ::dlclose(stillLoaded);

  PluginHost reloaded(module);  // the user reloads the plug-ins: the same module
  reloaded.RunMessageLoop(1000);
  EXPECT_EQ(reloaded.ListSearchText(open, "still unloaded", 0), 0);
  reloaded.ListCloseWindow(open);
  reloaded.RunMessageLoop(0);
}

}  // namespace
}  // namespace brontel::host
