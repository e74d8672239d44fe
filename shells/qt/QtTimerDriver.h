/** @file QtTimerDriver.h: timer models driven by QTimer on the UI thread's event loop. */
#pragma once

#include <QTimer>
#include <map>
#include <memory>

#include "ui/Timer.h"

namespace brontel::qt {

// One QTimer per bound timer model, following its interval and enabled state: enabling it or
// changing its interval while it runs restarts the countdown; an interval of 0 never fires. A
// tick runs the model's Fire and swallows whatever it throws, so a failing handler never
// reaches the host's event loop. A model that is destroyed unbinds itself. UI thread only.
class QtTimerDriver {
 public:
  QtTimerDriver() = default;
  ~QtTimerDriver();
  QtTimerDriver(const QtTimerDriver&) = delete;
  QtTimerDriver& operator=(const QtTimerDriver&) = delete;

  void Bind(ui::Timer& timer);
  std::size_t BoundTimers() const { return bindings_.size(); }
  // The QTimer that drives `timer`, nullptr when it is not bound.
  const QTimer* QTimerOf(const ui::Timer& timer) const;

 private:
  struct Binding {
    ui::Timer* model;
    ui::Component::ObserverId observer;
    std::unique_ptr<QTimer> timer;
  };
  void Follow(Binding& binding);
  void Unbind(ui::Timer* timer, bool removeObserver);

  std::map<ui::Timer*, Binding> bindings_;
};

}  // namespace brontel::qt
