/** @file QtScreenCursor.h: the screen cursor as the application's override cursor. */
#pragma once

#include "ui/ScreenCursor.h"

namespace brontel::qt {

// Any cursor other than Default is shown as the application's override cursor (the hourglass
// as Qt's wait cursor); Default removes the override this object set. ProcessMessages lets the
// waiting repaints through and nothing else, so neither input nor posted work reaches a viewer
// in the middle of a long operation. UI thread only.
class QtScreenCursor final : public ui::ScreenCursor {
 public:
  ~QtScreenCursor() override;

  ui::Cursor Current() const override { return current_; }
  void Set(ui::Cursor cursor) override;
  void ProcessMessages() override;

 private:
  ui::Cursor current_ = ui::Cursor::Default;
  bool overriding_ = false;
};

}  // namespace brontel::qt
