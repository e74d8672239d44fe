/** @file WindowMode.h: the program's windows, when it was built with a toolkit. */
#pragma once

#include <string>
#include <vector>

namespace brontel::app {

struct WindowRequest {
  std::vector<std::string> files;  // a window for each; empty with `demo`
  bool demo = false;               // a window on a growing demo log instead
  bool force = false;              // the force-show bit for every file
  std::string settingsFolder;      // empty: the configuration folder
  std::string modulePath;          // empty: look for brontel.wlx
  int seconds = 0;                 // close every window after this long; 0 = when the user does
};

// True when this program can open windows: it was built with a toolkit and a display is there.
bool WindowModeAvailable();

// Runs the windows until the last one is closed; the result is the exit code. `argc`/`argv`
// are the program's own, for the toolkit.
int RunWindows(const WindowRequest& request, int& argc, char** argv);

}  // namespace brontel::app
