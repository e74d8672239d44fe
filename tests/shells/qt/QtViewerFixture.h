/** @file QtViewerFixture.h: a viewer in Qt widgets inside a Qt host, over a log in a scratch
 * folder. */
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "platform/DirectoryChanges.h"
#include "shells/qt/QtToolkit.h"
#include "shells/qt/module/QtViewer.h"
#include "tests/shells/qt/QtTestSupport.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::qt::testing {

// A log with plain lines around one error, one warning and one urgent line, and a binary one.
inline std::string SampleLog(int plainLines) {
  std::string text;
  for (int i = 0; i < plainLines; ++i) {
    text += "I\t10:00:" + std::to_string(10 + i % 50) + " request GET /api/orders served in " +
            std::to_string(10 + i) + " ms\r\n";
    if (i == plainLines / 2) {
      text += "E\t10:01:00 database connection lost: timeout after 30 s\r\n";
      text += "W\t10:01:01 disk /var at 91 % of its size\r\n";
      text += "U\t10:01:02 payment service unreachable for 5 minutes\r\n";
      text += std::string("I\t10:01:03 payload \x01\x02\xFF\xFE\x80 dumped\r\n");
    }
  }
  return text;
}

class QtViewerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    folder.Write(logPath, SampleLog(30));
  }

  void TearDown() override {
    delete viewer;
    viewer = nullptr;
    QCoreApplication::processEvents();
  }

  // Builds the viewer as the module's factory does and waits for its first tail load.
  void Open() {
    viewer = new QtViewer(toolkit, host.parent(), logPath, store,
                          platform::SystemDirectoryChangeSource());
    viewer->FormCreate();
    viewer->SetVisible(true);
    viewer->FormShow();
    viewer->window()->show();
    host.Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->TailLoads() > 0; }, 5000));
    QCoreApplication::processEvents();
  }

  template <typename W>
  W* Widget(const ui::Control& control) {
    W* widget = viewer->window()->WidgetAs<W>(control);
    EXPECT_NE(widget, nullptr) << control.name();
    return widget;
  }
  ViewerControls& c() { return viewer->controls(); }
  QtTextView* view() { return viewer->window()->TextView(); }
  // Index of the first view line that starts with `prefix`, -1 when none.
  int LineStartingWith(const std::string& prefix) {
    for (std::size_t i = 0; i < viewer->editor().LineCount(); ++i) {
      if (viewer->editor().Line(i).substr(0, prefix.size()) == prefix)
        return static_cast<int>(i);
    }
    return -1;
  }

  ApplicationFirst application;
  QtToolkit toolkit;
  brontel::testing::MemorySettings store;
  QtHost host;
  QtViewer* viewer = nullptr;
  brontel::testing::ScratchFolder folder;
  std::string logPath = folder.File("app.log");
};

}  // namespace brontel::qt::testing
