/** @file Component.h: the named base of every model, with change observers for the shells. */
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brontel::ui {

// What changed in a model. A shell's observer re-reads the named piece of state.
enum class Change : std::uint8_t {
  Enabled,
  Visible,
  Focus,
  Caption,
  Text,
  Hint,
  Checked,
  Items,
  ItemIndex,
  Interval,
  Bounds,
  Color,
  Font,
  ShortCut,
  Repaint,  // the text view wants (part of) its client area painted again
  Scroll,   // top row, left column or the row count moved (scroll bars follow)
  Popup,    // a popup menu asks to be shown at its PopupPoint()
  Destroyed,
};

class Component;
using NotifyEvent = std::function<void(Component& sender)>;

// Base of every model: a layout name and a list of observers. Models live on the UI thread;
// observers are called synchronously, in the order added, after the state changed. An observer
// may remove itself (or any other) while it is called.
class Component {
 public:
  using Observer = std::function<void(Component& source, Change change)>;
  using ObserverId = std::uint64_t;

  explicit Component(std::string name) : name_(std::move(name)) {}
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  // Tells every observer Change::Destroyed, so that a shell can drop its binding.
  virtual ~Component();

  const std::string& name() const { return name_; }

  ObserverId AddObserver(Observer observer);
  void RemoveObserver(ObserverId id);

 protected:
  void Notify(Change change);

 private:
  struct Entry {
    ObserverId id;
    Observer observer;
  };
  std::string name_;
  std::vector<Entry> observers_;
  ObserverId nextId_ = 1;
};

}  // namespace brontel::ui
