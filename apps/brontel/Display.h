/** @file Display.h: whether this session has a display to open windows on. */
#pragma once

namespace brontel::app {

// True when DISPLAY or WAYLAND_DISPLAY names a display (is set and not empty).
bool HasDisplay();

}  // namespace brontel::app
