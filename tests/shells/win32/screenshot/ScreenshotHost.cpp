// Shows one log in the plug-in for a while, in a host window whose client area has the given
// size: the window that scripts/win32-screenshot photographs.
//
//   brontel_screenshot_host LOG_FILE SECONDS WIDTH HEIGHT
//
// The host's settings file lies beside the log. Once the viewer has drawn, LOG_FILE.shown is
// written with the client area's place on the screen ("left top width height"), so the
// photographer knows when and where to take the picture; LOG_FILE.done, made by the
// photographer, ends the host before its SECONDS are up.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "tests/shells/win32/RecordingHost.h"
#include "tests/shells/win32/Win32PluginHost.h"

using brontel::win32::testing::RecordingHost;
using brontel::win32::testing::TheHost;

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t end = path.find_last_of("\\/");
  return end == std::string::npos ? std::string(".") : path.substr(0, end);
}

void SizeClientArea(HWND window, int width, int height) {
  RECT frame{0, 0, width, height};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_EXSTYLE)));
  ::MoveWindow(window, 0, 0, frame.right - frame.left, frame.bottom - frame.top, TRUE);
}

void ReportShown(HWND window, const std::string& path) {
  RECT client;
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  std::ofstream(path) << origin.x << ' ' << origin.y << ' ' << client.right << ' ' << client.bottom
                      << '\n';
}

int Show(const std::string& log, int seconds, int width, int height) {
  auto& plugin = TheHost();
  plugin.ListSetDefaultParams(FolderOf(log) + "\\wincmd.ini");
  RecordingHost host;
  SizeClientArea(host.window(), width, height);
  HWND viewer = plugin.ListLoad(host.window(), log, 0);
  if (viewer == nullptr) {
    std::fprintf(stderr, "the plug-in did not open %s\n", log.c_str());
    return 1;
  }
  host.Adopt(viewer);
  RecordingHost::Pump(2000);
  ReportShown(host.window(), log + ".shown");
  const std::string done = log + ".done";
  for (int waited = 0; waited < seconds * 1000; waited += 100) {
    if (::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES)
      break;
    RecordingHost::Pump(100);
  }
  plugin.ListCloseWindow(viewer);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: brontel_screenshot_host LOG_FILE SECONDS WIDTH HEIGHT\n");
    return 2;
  }
  try {
    return Show(argv[1], std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "brontel_screenshot_host: %s\n", error.what());
    return 1;
  }
}
