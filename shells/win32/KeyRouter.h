/** @file KeyRouter.h: where the native controls of a viewer send the keys they get. */
#pragma once

#include "ui/Keys.h"

namespace brontel::win32 {

// The viewer window's key handling as its controls see it. UI thread only.
class KeyRouter {
 public:
  virtual ~KeyRouter() = default;
  // A key pressed in any control but the text view: the window's key bindings see it first;
  // true when they consumed it.
  virtual bool PreviewKey(ui::KeyCode key, ui::ShiftState shift) = 0;
  // A key no control used: the window's action shortcuts get it; true when one ran.
  virtual bool ShortCut(ui::KeyCode key, ui::ShiftState shift) = 0;
};

}  // namespace brontel::win32
