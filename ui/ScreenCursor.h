/** @file ScreenCursor.h: the screen cursor and the scope guards iBusyState and iCursorState. */
#pragma once

#include <cstdint>

namespace brontel::ui {

enum class Cursor : std::uint8_t { Default, Arrow, IBeam, HourGlass };

// The application-wide screen cursor. UI thread only.
class ScreenCursor {
 public:
  virtual ~ScreenCursor() = default;
  virtual Cursor Current() const = 0;
  virtual void Set(Cursor cursor) = 0;
  // Handles every window message that is waiting, so that a cursor change shows at once.
  virtual void ProcessMessages() = 0;
};

// Remembers the screen cursor when created and puts it back when destroyed.
class iBusyState {
 public:
  explicit iBusyState(ScreenCursor& cursor) : cursor_(cursor), saved_(cursor.Current()) {}
  ~iBusyState() { cursor_.Set(saved_); }
  iBusyState(const iBusyState&) = delete;
  iBusyState& operator=(const iBusyState&) = delete;

 protected:
  ScreenCursor& cursor_;

 private:
  Cursor saved_;
};

// An iBusyState that also shows the hourglass and lets the waiting messages through, so the
// change shows before a long operation starts.
class iCursorState : public iBusyState {
 public:
  explicit iCursorState(ScreenCursor& cursor) : iBusyState(cursor) {
    cursor_.Set(Cursor::HourGlass);
    cursor_.ProcessMessages();
  }
};

}  // namespace brontel::ui
