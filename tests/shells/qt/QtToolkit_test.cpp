// The Qt toolkit's services: posting from any thread, the wait cursor, the clipboard.

#include "shells/qt/QtToolkit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QTest>
#include <QThread>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/shells/qt/QtTestSupport.h"

namespace brontel::qt {
namespace {

class QtToolkitTest : public ::testing::Test {
 protected:
  testing::ApplicationFirst application;
  QtToolkit toolkit;
};

TEST_F(QtToolkitTest, PostedWorkRunsOnTheUiThreadInOrderAndFailuresStayThere) {
  std::vector<int> order;
  std::vector<bool> onUiThread;
  QThread* ui = QThread::currentThread();
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      toolkit.poster().Post([&, i] {
        order.push_back(i);
        onUiThread.push_back(QThread::currentThread() == ui);
        if (i == 1)
          throw std::runtime_error("posted work that fails");
      });
    }
  });
  worker.join();
  EXPECT_TRUE(order.empty());  // nothing runs before the event loop does
  EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 3; }, 2000));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(onUiThread, (std::vector<bool>{true, true, true}));
}

TEST_F(QtToolkitTest, HourglassIsTheOverrideCursorUntilTheGuardEnds) {
  ui::ScreenCursor& cursor = toolkit.cursor();
  {
    const ui::iCursorState busy(cursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      const ui::iCursorState nested(cursor);
      EXPECT_EQ(cursor.Current(), ui::Cursor::HourGlass);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(cursor.Current(), ui::Cursor::Default);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // no override left behind
}

TEST_F(QtToolkitTest, ClipboardCarriesTheViewsTextAsTheUserReadsIt) {
  toolkit.clipboard().SetText(
      "Gr\xC3\xBC\xC3\x9F"
      "e\r\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Grüße\n"));  // Linux line ends
  toolkit.clipboard().SetText("caf\xE9");  // not UTF-8: byte for byte
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1("caf\xE9"));
  EXPECT_EQ(toolkit.clipboard().Text(), "caf\xC3\xA9");
}

TEST_F(QtToolkitTest, HostWindowsStandForTheWidgetTheHostPassed) {
  QWidget parent;
  auto host = toolkit.AttachHostWindow(reinterpret_cast<std::uintptr_t>(&parent));
  EXPECT_EQ(host->NativeHandle(), reinterpret_cast<std::uintptr_t>(&parent));
  EXPECT_FALSE(host->HasParentWindow());
  auto none = toolkit.AttachHostWindow(0);
  none->SendClose(1, 1);  // nowhere to go: nothing happens
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace brontel::qt
