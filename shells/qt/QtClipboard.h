/** @file QtClipboard.h: the system clipboard through QClipboard. */
#pragma once

#include "ui/Clipboard.h"

namespace brontel::qt {

// The application's clipboard. Text goes out as the user reads it in the view (valid UTF-8 as
// UTF-8, other bytes as Latin-1) with the platform's line ends, and comes back as UTF-8. A
// mouse selection also becomes the primary selection where the platform has one (X11).
// Without a Qt application it holds nothing. UI thread only.
class QtClipboard final : public ui::Clipboard {
 public:
  void SetText(std::string_view text) override;
  void SetSelectionText(std::string_view text) override;
  std::string Text() const override;
};

}  // namespace brontel::qt
