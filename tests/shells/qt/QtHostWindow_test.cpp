#include "shells/qt/QtHostWindow.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "tests/shells/qt/QtTestSupport.h"

namespace brontel::qt {
namespace {

using testing::QtHost;
using testing::ReceivedKey;

class QtHostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::TestApplication(); }
  void Drain() { QCoreApplication::processEvents(); }
  testing::ApplicationFirst application;
  QtHost host;
};

TEST_F(QtHostWindowTest, KeysGoToTheScrollAreaOfTheViewportTheHostPassed) {
  QtHostWindow viewport(host.parent());
  EXPECT_EQ(viewport.KeyReceiver(), host.area);
  EXPECT_EQ(viewport.NativeHandle(), reinterpret_cast<std::uintptr_t>(host.parent()));
  EXPECT_FALSE(viewport.HasParentWindow());  // it stands for the host's top-level window
  QWidget plain;
  EXPECT_EQ(QtHostWindow(&plain).KeyReceiver(), &plain);
  EXPECT_EQ(QtHostWindow(nullptr).KeyReceiver(), nullptr);
}

TEST_F(QtHostWindowTest, HandedBackKeysArriveLaterAsTypedKeys) {
  QtHostWindow window(host.parent());
  window.SendKeyDown(ui::vk::F7, 0);
  window.SendChar('3', 0);
  EXPECT_TRUE(host.keys.empty());  // nothing before the handler has returned
  Drain();
  ASSERT_EQ(host.keys.size(), 2u);
  EXPECT_EQ(host.keys[0].key, Qt::Key_F7);
  EXPECT_TRUE(host.keys[0].spontaneous);
  EXPECT_EQ(host.keys[1].key, Qt::Key_3);
  EXPECT_EQ(host.keys[1].text, QStringLiteral("3"));
  EXPECT_TRUE(host.keys[1].spontaneous);
}

TEST_F(QtHostWindowTest, TheCurrentKeyEventIsHandedBackAsItCame) {
  QtHostWindow window(host.parent());
  const QKeyEvent typed(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier, 24, 0x71, 4,
                        QStringLiteral("\x11"));
  {
    const CurrentKeyEvent current(typed);
    window.SendKeyDown('Q', 0);
    window.SendClose(1, 1);  // Esc is not the current key: made from the code
  }
  Drain();
  ASSERT_EQ(host.keys.size(), 2u);
  EXPECT_EQ(host.keys[0].key, Qt::Key_Q);
  EXPECT_EQ(host.keys[0].text, QStringLiteral("\x11"));
  EXPECT_EQ(host.keys[1].key, Qt::Key_Escape);
  const QKeyEvent copy = QtHostWindow::KeyEventFor(QEvent::KeyPress, 'Q');
  EXPECT_EQ(copy.modifiers(), Qt::NoModifier);  // outside the scope: made from the code
}

TEST_F(QtHostWindowTest, TypedKeysArePressedAndReleasedAfterTheFocusMoved) {
  host.Show();
  QtHostWindow window(host.parent());
  window.TakeFocus();
  window.TypeKey('N');
  Drain();
  EXPECT_TRUE(host.area->hasFocus() || QApplication::focusWidget() == nullptr);
  ASSERT_EQ(host.keys.size(), 2u);
  EXPECT_EQ(host.keys[0].type, QEvent::KeyPress);
  EXPECT_EQ(host.keys[1].type, QEvent::KeyRelease);
  EXPECT_EQ(host.keys[1].key, Qt::Key_N);
}

TEST_F(QtHostWindowTest, KeysForAHostThatIsGoneAreDropped) {
  auto host2 = std::make_unique<QtHost>();
  QtHostWindow window(host2->parent());
  window.SendKeyDown(ui::vk::F3, 0);
  host2.reset();  // the host closes its viewer before the key gets there
  Drain();
  window.SendKeyDown(ui::vk::F3, 0);
  Drain();
  EXPECT_EQ(window.KeyReceiver(), nullptr);
}

}  // namespace
}  // namespace brontel::qt
