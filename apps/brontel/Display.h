/** @file Display.h: whether this session has a display to open windows on. */
#pragma once

#include <string>

namespace brontel::app {

// True when WAYLAND_DISPLAY names a display, or DISPLAY names one that may be reached (see
// X11DisplayReachable, with the system's socket folder /tmp/.X11-unix).
bool HasDisplay();

// False only when `display` is a local X display (":N", ":N.S" or "unix:N") whose socket
// "X<N>" is missing from `socketFolder`: the toolkit would fail to start on it. An empty name
// is no display; any other name (a remote or forwarded display) cannot be checked and counts
// as reachable.
bool X11DisplayReachable(const std::string& display, const std::string& socketFolder);

}  // namespace brontel::app
