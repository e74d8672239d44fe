#include "ui/Label.h"

#include <cctype>

namespace brontel::ui {

char CaptionAccelerator(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&')
      continue;
    if (caption[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

char Label::Accelerator() const {
  return CaptionAccelerator(Caption());
}

bool Label::ActivateAccelerator() {
  return focusControl_ && focusControl_->SetFocus();
}

}  // namespace brontel::ui
