/** @file UpdateBracket.h: one batch of changes to a text view, drawn once at its end. */
#pragma once

#include "ui/TRAHLEditor.h"

namespace brontel::ui {

// Begin/EndUpdate of a text view for one scope, also when it is left by an exception.
class UpdateBracket {
 public:
  explicit UpdateBracket(TRAHLEditor& view) : view_(view) { view_.BeginUpdate(); }
  ~UpdateBracket() { view_.EndUpdate(); }
  UpdateBracket(const UpdateBracket&) = delete;
  UpdateBracket& operator=(const UpdateBracket&) = delete;

 private:
  TRAHLEditor& view_;
};

}  // namespace brontel::ui
