/** @file QtHostWindow.h: the host's window on Qt: keys handed back as if the user typed them. */
#pragma once

#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "ui/HostWindow.h"

namespace brontel::qt {

// Marks the key event that the shell is handing to the viewer, so that a key the viewer hands
// back reaches the host as the very event the user typed. Scopes nest; UI thread only.
class CurrentKeyEvent {
 public:
  explicit CurrentKeyEvent(const QKeyEvent& event);
  ~CurrentKeyEvent();
  CurrentKeyEvent(const CurrentKeyEvent&) = delete;
  CurrentKeyEvent& operator=(const CurrentKeyEvent&) = delete;

  // The innermost marked event, or nullptr.
  static const QKeyEvent* Get();

 private:
  const QKeyEvent* previous_;
};

// The host window of a viewer whose host passed the QWidget `parent`. Towards the viewer it is
// the top-level window of `parent`, so it never has a parent window of its own. A Qt host reads
// only keys that arrive as typed (spontaneous events) at the scroll area whose viewport
// `parent` is (or at `parent` itself when it is no viewport): every message is turned into key
// events, posted, and delivered there through QCoreApplication::notify once the viewer's key
// handler has returned, because the host may destroy the viewer in response.
//
// Close and key-down messages and characters become a copy of the current key event when its
// key is the one handed back, otherwise a key press made from the key code. TakeFocus gives
// the receiving widget the focus at once; TypeKey posts a press and a release.
class QtHostWindow final : public ui::HostWindow {
 public:
  explicit QtHostWindow(QWidget* parent);

  std::uintptr_t NativeHandle() const override;
  bool HasParentWindow() const override { return false; }
  void Deliver(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void TakeFocus() override;
  void TypeKey(ui::KeyCode key) override;

  // The widget that receives the handed-back keys (nullptr once the host's widget is gone).
  QWidget* KeyReceiver() const;

  // The event by which `key` is handed back: the current key event when it carries `key`,
  // otherwise one made from the key code (a digit or letter with its text).
  static QKeyEvent KeyEventFor(QEvent::Type type, ui::KeyCode key);

 private:
  void Post(const QKeyEvent& event) const;

  std::uintptr_t handle_;
  QPointer<QWidget> parent_;
};

}  // namespace brontel::qt
