/** @file QtViewerFixture.h: a viewer in Qt widgets inside a Qt host, over a temporary log. */
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/DirectoryChanges.h"
#include "shells/qt/QtToolkit.h"
#include "shells/qt/module/QtViewer.h"
#include "tests/shells/qt/QtTestSupport.h"
#include "tests/viewer/ViewerFixture.h"

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
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() /
          (std::string("brontel-qt-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    logPath = (dir / "app.log").string();
    std::ofstream(logPath, std::ios::binary) << SampleLog(30);
  }

  void TearDown() override {
    delete viewer;
    viewer = nullptr;
    QCoreApplication::processEvents();
    std::filesystem::remove_all(dir);
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
  brontel::testing::ViewerStore store;
  QtHost host;
  QtViewer* viewer = nullptr;
  std::filesystem::path dir;
  std::string logPath;
};

}  // namespace brontel::qt::testing
