/** @file Win32Clipboard.h: the system clipboard's CF_TEXT. */
#pragma once

#include <string>
#include <string_view>

#include "ui/Clipboard.h"

namespace brontel::win32 {

// The clipboard as CF_TEXT. When another program holds the clipboard open, a few short retries
// follow; after that the copy is dropped quietly (and Text answers empty).
class Win32Clipboard final : public ui::Clipboard {
 public:
  void SetText(std::string_view text) override;
  std::string Text() const override;
};

}  // namespace brontel::win32
