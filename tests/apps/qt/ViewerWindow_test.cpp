#include "apps/brontel/qt/ViewerWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include "apps/brontel/qt/FindDialog.h"
#include "apps/brontel/qt/QtKeys.h"
#include "tests/apps/FakeListerModule.h"
#include "tests/apps/qt/OffscreenApplication.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::app {
namespace {

void* MakeWidget(void* parent, int number) {
  auto* widget = new QWidget(static_cast<QWidget*>(parent));
  widget->setObjectName(QStringLiteral("viewer%1").arg(number));
  return widget;
}

void FreeWidget(void* viewer) {
  static_cast<QWidget*>(viewer)->deleteLater();
}

class ViewerWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureOffscreenApplication(); }

  void SetUp() override {
    fake.Reset();
    fake.makeViewer = &MakeWidget;
    fake.freeViewer = &FreeWidget;
    for (const char* name : {"a.log", "b.log", "c.log"})
      folder.Write(name, "x\n");
    window = new ViewerWindow(FakeListerModule::EntryPoints(), 0);
  }
  void TearDown() override {
    delete window.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QString In(const char* name) { return QString::fromStdString(folder.File(name)); }
  // A key as the viewer hands it back: sent to the host's scroll area.
  bool HandBack(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(&window->hostArea(), &press);
    return press.isAccepted();
  }

  FakeListerModule& fake = FakeListerModule::Instance();
  testing::ScratchFolder folder;
  QPointer<ViewerWindow> window;
};

TEST_F(ViewerWindowTest, TheViewerIsAChildOfTheScrollAreasViewportAndFillsIt) {
  ASSERT_TRUE(window->Open(In("a.log")));
  window->show();
  window->resize(640, 480);
  QCoreApplication::processEvents();
  QWidget* viewer = window->viewerWidget();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->parentWidget(), window->hostArea().viewport());
  EXPECT_EQ(fake.lastParent, window->hostArea().viewport());
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->geometry(), window->hostArea().viewport()->rect());
  window->resize(300, 200);
  QCoreApplication::processEvents();
  EXPECT_EQ(viewer->size(), QSize(300, 200));
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("a.log (")));
}

TEST_F(ViewerWindowTest, EscClosesTheViewerThroughTheEntryPointsAndTheWindow) {
  ASSERT_TRUE(window->Open(In("a.log")));
  window->show();
  void* viewer = window->viewerWidget();
  EXPECT_TRUE(HandBack(Qt::Key_Escape));
  EXPECT_THAT(fake.closed, ::testing::ElementsAre(viewer));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST_F(ViewerWindowTest, ClosingTheWindowOtherwiseClosesTheViewerToo) {
  ASSERT_TRUE(window->Open(In("a.log")));
  window->show();
  window->close();
  EXPECT_EQ(fake.closed.size(), 1u);
  EXPECT_TRUE(fake.open.empty());
}

TEST_F(ViewerWindowTest, NAndPStepThroughTheFolderWhenHandedBack) {
  ASSERT_TRUE(window->Open(In("a.log")));
  // A key the viewer leaves alone travels up from it and stops short of the host.
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_N, Qt::NoModifier);
  QCoreApplication::sendEvent(window->viewerWidget(), &typed);
  EXPECT_EQ(window->session().file(), In("a.log").toStdString());
  // What the viewer hands back is acted on.
  EXPECT_TRUE(HandBack(Qt::Key_N, Qt::NoModifier));
  EXPECT_EQ(window->session().file(), In("b.log").toStdString());
  EXPECT_TRUE(HandBack(Qt::Key_N, Qt::NoModifier));
  EXPECT_EQ(window->session().file(), In("c.log").toStdString());
  EXPECT_TRUE(HandBack(Qt::Key_P, Qt::NoModifier));
  EXPECT_EQ(window->session().file(), In("b.log").toStdString());
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("b.log (")));
  EXPECT_EQ(fake.open.size(), 1u);
  EXPECT_EQ(window->viewerWidget()->parentWidget(), window->hostArea().viewport());
}

TEST_F(ViewerWindowTest, F3RepeatsTheLastSearchAndShiftF3TurnsItAround) {
  ASSERT_TRUE(window->Open(In("a.log")));
  window->session().Find(FindRequest{"disk", false, true, false});
  EXPECT_TRUE(HandBack(Qt::Key_F3, Qt::NoModifier));
  EXPECT_TRUE(HandBack(Qt::Key_F3, Qt::ShiftModifier));
  ASSERT_EQ(fake.searches.size(), 3u);
  EXPECT_EQ(fake.searches[1].flags, kSearchWholeWords);
  EXPECT_EQ(fake.searches[2].flags, kSearchWholeWords | kSearchBackwards);
  EXPECT_EQ(fake.searches[2].viewer, window->viewerWidget());
}

// F7, F3 and Shift+F3 that find nothing say so below the viewer; the next match hides it.
TEST_F(ViewerWindowTest, ASearchThatFindsNothingSaysSo) {
  ASSERT_TRUE(window->Open(In("a.log")));
  window->show();
  fake.searchAnswer = 1;
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<FindDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->textEdit().setText(QStringLiteral("disk"));
    dialog->accept();
  });
  EXPECT_TRUE(HandBack(Qt::Key_F7));
  EXPECT_TRUE(window->notice().isVisible());
  EXPECT_EQ(window->notice().text(), QStringLiteral("\"disk\" not found"));
  fake.searchAnswer = 0;
  EXPECT_TRUE(HandBack(Qt::Key_F3));
  EXPECT_FALSE(window->notice().isVisible());
  fake.searchAnswer = 1;
  EXPECT_TRUE(HandBack(Qt::Key_F3, Qt::ShiftModifier));
  EXPECT_TRUE(window->notice().isVisible());
  ASSERT_EQ(fake.searches.size(), 3u);
}

TEST_F(ViewerWindowTest, DigitsAreSwallowedAndOtherKeysGoOn) {
  ASSERT_TRUE(window->Open(In("a.log")));
  EXPECT_TRUE(HandBack(Qt::Key_3));
  EXPECT_FALSE(HandBack(Qt::Key_F5));
  EXPECT_FALSE(HandBack(Qt::Key_N, Qt::ControlModifier));
  EXPECT_EQ(window->session().file(), In("a.log").toStdString());
  EXPECT_TRUE(fake.closed.empty());
}

TEST(QtKeysTest, QtKeysBecomeWindowsKeyCodes) {
  const auto vk = [](int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return VirtualKeyOf(QKeyEvent(QEvent::KeyPress, key, mods));
  };
  EXPECT_EQ(vk(Qt::Key_Escape), ui::vk::Escape);
  EXPECT_EQ(vk(Qt::Key_F3), ui::vk::F3);
  EXPECT_EQ(vk(Qt::Key_F7), ui::vk::F7);
  EXPECT_EQ(vk(Qt::Key_N, Qt::ShiftModifier), 'N');
  EXPECT_EQ(vk(Qt::Key_7), '7');
  EXPECT_EQ(vk(Qt::Key_Left), 0);
  const QKeyEvent shifted(QEvent::KeyPress, Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(ShiftStateOf(shifted), ui::ShiftState::Shift | ui::ShiftState::Ctrl);
}

}  // namespace
}  // namespace brontel::app
