// brontel.wlx for Qt hosts, loaded and driven the way a Qt file manager drives it.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <string>

#include "plugin/ListerContract.h"
#include "tests/shells/qt/QtTestSupport.h"
#include "tests/shells/qt/QtViewerFixture.h"

namespace brontel::qt::testing {
namespace {

using SetDefaultParams = ListSetDefaultParamsFunction;
using Load = ListLoadFunction;
using CloseWindow = ListCloseWindowFunction;
using SearchText = ListSearchTextFunction;

// The host's record, with room after the name as a newer host gives it.
struct DefaultParams {
  ListerDefaultParams known;
  char newerFields[64];
};

class QtModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    module = dlopen(BRONTEL_QT_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    setDefaultParams = reinterpret_cast<SetDefaultParams>(dlsym(module, "ListSetDefaultParams"));
    load = reinterpret_cast<Load>(dlsym(module, "ListLoad"));
    closeWindow = reinterpret_cast<CloseWindow>(dlsym(module, "ListCloseWindow"));
    searchText = reinterpret_cast<SearchText>(dlsym(module, "ListSearchText"));
    ASSERT_TRUE(setDefaultParams && load && closeWindow && searchText);
    DefaultParams params{MakeListerDefaultParams(folder.File("wlx.ini")), {}};
    params.known.size = sizeof params;
    setDefaultParams(&params);
    folder.Write(logPath, SampleLog(20));
  }
  void TearDown() override { QCoreApplication::processEvents(); }

  ApplicationFirst application;
  brontel::testing::ScratchFolder folder;
  std::string logPath = folder.File("app.log");
  void* module = nullptr;  // never unloaded, as the host never unloads it
  SetDefaultParams setDefaultParams = nullptr;
  Load load = nullptr;
  CloseWindow closeWindow = nullptr;
  SearchText searchText = nullptr;
  QtHost host;
};

TEST_F(QtModuleTest, ViewerIsAShownChildWidgetOfTheHostsViewport) {
  EXPECT_TRUE(std::filesystem::exists(folder.File("brontel.ini")));
  host.Show();
  void* handle = load(host.parent(), logPath.c_str(), 0);
  ASSERT_NE(handle, nullptr);
  QPointer<QWidget> viewer(static_cast<QWidget*>(handle));
  EXPECT_EQ(viewer->parentWidget(), host.parent());
  EXPECT_TRUE(viewer->isVisible());
  viewer->setGeometry(0, 0, 500, 300);  // the host fits it to its client area
  viewer->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return searchText(handle, "database", 0) == 0; }, 5000));
  EXPECT_EQ(searchText(handle, "no such text anywhere", 0), 1);

  QWidget* view = viewer->focusProxy();
  ASSERT_NE(view, nullptr);
  QTest::keyClick(view, Qt::Key_F7);
  QCoreApplication::processEvents();
  ASSERT_EQ(host.KeysAt(QEvent::KeyPress).size(), 1u);
  EXPECT_EQ(host.KeysAt(QEvent::KeyPress)[0].key, Qt::Key_F7);

  closeWindow(handle);
  QCoreApplication::processEvents();
  EXPECT_TRUE(viewer.isNull());
  EXPECT_EQ(searchText(handle, "database", 0), 1);  // no longer registered
}

TEST_F(QtModuleTest, FilesOutsideTheAssociationsNeedTheForceShowBit) {
  const std::string text = folder.Write("notes.txt", "E\tnot a log\r\n");
  EXPECT_EQ(load(host.parent(), text.c_str(), 0), nullptr);
  void* handle = load(host.parent(), text.c_str(), kForceShow);
  ASSERT_NE(handle, nullptr);
  closeWindow(handle);
  closeWindow(handle);  // a second close of the same handle does nothing
}

TEST_F(QtModuleTest, TwoViewersCloseIndependently) {
  void* first = load(host.parent(), logPath.c_str(), 0);
  void* second = load(host.parent(), logPath.c_str(), 0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  QPointer<QWidget> kept(static_cast<QWidget*>(second));
  closeWindow(first);
  QCoreApplication::processEvents();
  EXPECT_FALSE(kept.isNull());
  EXPECT_TRUE(QTest::qWaitFor([&] { return searchText(second, "payment", 0) == 0; }, 5000));
  closeWindow(second);
  QCoreApplication::processEvents();
  EXPECT_TRUE(kept.isNull());
}

}  // namespace
}  // namespace brontel::qt::testing
