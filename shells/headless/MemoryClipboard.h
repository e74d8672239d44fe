/** @file MemoryClipboard.h: an in-memory clipboard that counts its writes. */
#pragma once

#include <string>
#include <string_view>

#include "ui/Clipboard.h"

namespace brontel::headless {

class MemoryClipboard : public ui::Clipboard {
 public:
  void SetText(std::string_view text) override {
    text_.assign(text);
    ++writes_;
  }
  std::string Text() const override { return text_; }
  void SetSelectionText(std::string_view text) override { selection_.assign(text); }
  const std::string& SelectionText() const { return selection_; }
  int Writes() const { return writes_; }

 private:
  std::string text_;
  std::string selection_;
  int writes_ = 0;
};

}  // namespace brontel::headless
