// What the viewer draws, read back from the screen with BitBlt.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "tests/shells/win32/HostFixture.h"
#include "tests/shells/win32/WindowCapture.h"

namespace brontel::win32::testing {
namespace {

using DrawingTest = HostFixture;

struct RowColours {
  int red = 0;
  int white = 0;
};

// Counts the red and white pixels of row y between x0 and x1.
RowColours CountRow(const Capture& capture, int y, int x0, int x1) {
  RowColours counts;
  for (int x = x0; x < x1; ++x) {
    const std::uint32_t pixel = capture.At(x, y);
    counts.red += pixel == kRgbRed;
    counts.white += pixel == kRgbWhite;
  }
  return counts;
}

// The leftmost x of row y that has colour `rgb`, `capture.width` when none has.
int FirstOf(const Capture& capture, int y, std::uint32_t rgb) {
  for (int x = 0; x < capture.width; ++x) {
    if (capture.At(x, y) == rgb)
      return x;
  }
  return capture.width;
}

TEST_F(DrawingTest, AnErrorLineIsDrawnWhiteOnRed) {
  UseSettingsFolder();
  std::string log;
  for (int i = 0; i < 5; ++i)
    log += "I   all is well " + std::to_string(i) + "\r\n";
  log += "E   the disk is on fire\r\n";
  log += "I   still running\r\n";
  folder_.Write("app.log", log);
  HWND viewer = LoadAndShow(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  ::MoveWindow(host_->window(), 0, 0, 700, 400, TRUE);
  ::RedrawWindow(host_->window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RecordingHost::Pump(200);

  const Capture capture = CaptureClientArea(host_->window());
  capture.SaveBmp(PathOf("..\\brontel-win32-drawing.bmp"));
  ASSERT_GT(capture.height, 100);

  // Rows through the error line: a red background behind its characters, white glyphs on it.
  const int textLeft = 20;
  const int textRight = capture.width - 40;
  int errorRows = 0;
  int glyphRows = 0;
  int plainRows = 0;
  int errorLeft = capture.width;   // where the red of the error line begins
  int windowLeft = capture.width;  // where the window colour of the plain lines begins
  for (int y = 22; y < capture.height - 20; ++y) {
    const RowColours counts = CountRow(capture, y, textLeft, textRight);
    if (counts.red >= 50) {
      ++errorRows;
      glyphRows += counts.white > 0;
      errorLeft = (std::min)(errorLeft, FirstOf(capture, y, kRgbRed));
    } else if (counts.red == 0 && counts.white > (textRight - textLeft) / 2) {
      ++plainRows;
      windowLeft = (std::min)(windowLeft, FirstOf(capture, y, kRgbWhite));
    }
  }
  EXPECT_GE(errorRows, 8) << "the error line's rows have a red background";
  // The line is shown twice: in the history at the top and in the tail.
  EXPECT_LE(errorRows, 60) << "only the error line is red";
  EXPECT_GE(glyphRows, 4) << "its text is white";
  EXPECT_GT(plainRows, 20) << "the other lines stay on the window colour";
  EXPECT_LE(errorLeft, windowLeft + 1) << "the whole line is red, its marker E included";
}

// Scrolled to the end of a line far longer than the attribute entries, it is still red.
TEST_F(DrawingTest, ALongErrorLineIsRedToItsEnd) {
  UseSettingsFolder();
  folder_.Write("app.log", "I   start\r\nE   " + std::string(3000, 'x') + " end\r\nI   done\r\n");
  HWND viewer = LoadAndShow(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  ::MoveWindow(host_->window(), 0, 0, 700, 400, TRUE);
  HWND view = TextViewOf(viewer);
  PressKey(view, 'E', true, true);  // the error line of the tail
  PressKey(view, VK_END);
  ::RedrawWindow(host_->window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RecordingHost::Pump(200);

  const Capture capture = CaptureClientArea(host_->window());
  int redRows = 0;
  for (int y = 22; y < capture.height - 20; ++y)
    redRows += CountRow(capture, y, 20, capture.width / 2).red >= 50;
  EXPECT_GE(redRows, 8) << "the error line's rows are red far right of column 1024";
}

}  // namespace
}  // namespace brontel::win32::testing
