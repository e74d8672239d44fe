// A Qt host that unloads brontel.wlx while the module's work is still queued in its event loop.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <filesystem>
#include <string>

#include "plugin/ListerContract.h"
#include "tests/shells/qt/QtTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::qt::testing {
namespace {

template <typename Function>
Function EntryPoint(void* module, const char* name) {
  return reinterpret_cast<Function>(::dlsym(module, name));
}

// The test loads its own copy of the module file (a module of its own, whatever else the
// process has loaded) and dlcloses it, as a host does at exit or when it reloads its plug-ins,
// right after closing one viewer (its delete still queued) and with another one open.
TEST(QtModuleUnloadTest, QueuedDeletesAndViewersLeftOpenOutliveTheUnload) {
  ApplicationFirst application;
  brontel::testing::ScratchFolder folder;
  const std::string path = folder.File("unloaded.wlx");
  std::filesystem::copy_file(BRONTEL_QT_MODULE_PATH, path);
  const std::string log = folder.Write("app.log", "E\tfirst error\r\n");
  QtHost host;
  host.Show();

  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << ::dlerror();
  const ListerDefaultParams params = MakeListerDefaultParams(folder.File("wlx.ini"));
  EntryPoint<ListSetDefaultParamsFunction>(module, kListSetDefaultParamsName)(&params);
  const auto load = EntryPoint<ListLoadFunction>(module, kListLoadName);
  const auto search = EntryPoint<ListSearchTextFunction>(module, kListSearchTextName);
  const auto close = EntryPoint<ListCloseWindowFunction>(module, kListCloseWindowName);
  void* closed = load(host.parent(), log.c_str(), 0);
  void* open = load(host.parent(), log.c_str(), 0);
  ASSERT_TRUE(closed != nullptr && open != nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return search(open, "first error", 0) == 0; }, 5000));
  QPointer<QWidget> deleted(static_cast<QWidget*>(closed));
  QPointer<QWidget> kept(static_cast<QWidget*>(open));
  close(closed);
  ::dlclose(module);
  folder.Append("app.log", "E\twhile unloaded\r\n");
  QTest::qWait(2500);  // the queued delete, timers, the watcher's reports and the reloads
  EXPECT_TRUE(deleted.isNull());
  ASSERT_FALSE(kept.isNull());

  module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);  // still there: the same module
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(search(open, "while unloaded", 0), 0);
  close(open);
  QCoreApplication::processEvents();
  EXPECT_TRUE(kept.isNull());
}

}  // namespace
}  // namespace brontel::qt::testing
