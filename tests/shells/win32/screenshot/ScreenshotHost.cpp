// Shows one log in the plug-in for a while, in a host window that fills the screen: the
// window that scripts/win32-screenshot photographs.
//
//   brontel_screenshot_host LOG_FILE SECONDS
//
// The host's settings file lies beside the log. Once the viewer has drawn, LOG_FILE.shown is
// written, so the photographer knows when to take the picture; LOG_FILE.done, made by the
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

int Show(const std::string& log, int seconds) {
  auto& plugin = TheHost();
  plugin.ListSetDefaultParams(FolderOf(log) + "\\wincmd.ini");
  RecordingHost host(nullptr, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  HWND viewer = plugin.ListLoad(host.window(), log, 0);
  if (viewer == nullptr) {
    std::fprintf(stderr, "the plug-in did not open %s\n", log.c_str());
    return 1;
  }
  host.Adopt(viewer);
  RecordingHost::Pump(2000);
  std::ofstream(log + ".shown") << "shown\n";
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
  if (argc != 3) {
    std::fprintf(stderr, "usage: brontel_screenshot_host LOG_FILE SECONDS\n");
    return 2;
  }
  try {
    return Show(argv[1], std::atoi(argv[2]));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "brontel_screenshot_host: %s\n", error.what());
    return 1;
  }
}
