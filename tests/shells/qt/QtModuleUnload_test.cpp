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

// Each test loads its own copy of the module file (a module of its own, whatever else the
// process has loaded) and dlcloses it as a host does at exit or when it reloads its plug-ins.
class QtModuleUnloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(BRONTEL_QT_MODULE_PATH, modulePath);
    Open();
    const ListerDefaultParams params = MakeListerDefaultParams(folder.File("wlx.ini"));
    setDefaultParams(&params);
    folder.Write("app.log", "E\tfirst error\r\n");
    host.Show();
  }
  void TearDown() override { QCoreApplication::processEvents(); }

  void Open() {
    module = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    setDefaultParams =
        reinterpret_cast<ListSetDefaultParamsFunction>(::dlsym(module, kListSetDefaultParamsName));
    load = reinterpret_cast<ListLoadFunction>(::dlsym(module, kListLoadName));
    closeWindow = reinterpret_cast<ListCloseWindowFunction>(::dlsym(module, kListCloseWindowName));
    searchText = reinterpret_cast<ListSearchTextFunction>(::dlsym(module, kListSearchTextName));
    ASSERT_TRUE(setDefaultParams && load && closeWindow && searchText);
  }
  bool StillLoaded() const {
    void* loaded = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (loaded != nullptr)
      ::dlclose(loaded);
    return loaded != nullptr;
  }

  ApplicationFirst application;
  brontel::testing::ScratchFolder folder;
  const std::string modulePath = folder.File("unloaded.wlx");
  void* module = nullptr;
  ListSetDefaultParamsFunction setDefaultParams = nullptr;
  ListLoadFunction load = nullptr;
  ListCloseWindowFunction closeWindow = nullptr;
  ListSearchTextFunction searchText = nullptr;
  QtHost host;
};

TEST_F(QtModuleUnloadTest, UnloadingRightAfterACloseSurvivesTheQueuedDelete) {
  void* handle = load(host.parent(), folder.File("app.log").c_str(), 0);
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return searchText(handle, "first error", 0) == 0; }, 5000));
  QPointer<QWidget> viewer(static_cast<QWidget*>(handle));
  closeWindow(handle);
  ::dlclose(module);
  QTest::qWait(1500);  // the form's queued delete, and any timer that was still due
  EXPECT_TRUE(viewer.isNull());
  EXPECT_TRUE(StillLoaded());
}

TEST_F(QtModuleUnloadTest, AViewerLeftOpenAtUnloadKeepsFollowingItsLog) {
  void* handle = load(host.parent(), folder.File("app.log").c_str(), 0);
  ASSERT_NE(handle, nullptr);
  QPointer<QWidget> viewer(static_cast<QWidget*>(handle));
  ::dlclose(module);
  folder.Append("app.log", "E\twhile unloaded\r\n");
  QTest::qWait(2500);  // timers, the watcher's reports and the reloads run the module's code
  ASSERT_FALSE(viewer.isNull());

  Open();  // the user reloads the plug-ins: the same module, its viewer still registered
  EXPECT_EQ(searchText(handle, "while unloaded", 0), 0);
  closeWindow(handle);
  QCoreApplication::processEvents();
  EXPECT_TRUE(viewer.isNull());
}

}  // namespace
}  // namespace brontel::qt::testing
