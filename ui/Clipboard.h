/** @file Clipboard.h: the system clipboard's text. */
#pragma once

#include <string>
#include <string_view>

namespace brontel::ui {

// Text on the clipboard (8-bit, line ends CR LF as the view produces them; a shell stores
// them as its platform has them). UI thread only.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void SetText(std::string_view text) = 0;
  // The text the user just selected with the mouse, for platforms that keep it apart from the
  // clipboard (the X primary selection); the others ignore it.
  virtual void SetSelectionText(std::string_view /*text*/) {}
  // The clipboard's text, empty when it holds none.
  virtual std::string Text() const = 0;
};

}  // namespace brontel::ui
