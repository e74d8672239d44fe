// The window mode of a build without a toolkit: there is none, and the program prints instead.
#include "apps/brontel/WindowMode.h"

namespace brontel::app {

bool WindowModeAvailable() {
  return false;
}

int RunWindows(const WindowRequest&, int&, char**) {
  return 1;
}

}  // namespace brontel::app
