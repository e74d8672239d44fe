#include "shells/qt/QtTimerDriver.h"

#include <limits>

#include "diagnostics/Shield.h"

namespace brontel::qt {

QtTimerDriver::~QtTimerDriver() {
  for (auto& [model, binding] : bindings_)
    model->RemoveObserver(binding.observer);
}

void QtTimerDriver::Bind(ui::Timer& timer) {
  Unbind(&timer, true);
  Binding binding{&timer, 0, std::make_unique<QTimer>()};
  binding.timer->setTimerType(Qt::CoarseTimer);
  ui::Timer* model = &timer;
  QObject::connect(binding.timer.get(), &QTimer::timeout,
                   [model]() { Shield::Run(model->name(), [model] { model->Fire(); }); });
  binding.observer = timer.AddObserver([this, model](ui::Component&, ui::Change change) {
    if (change == ui::Change::Destroyed) {
      Unbind(model, false);
    } else if (change == ui::Change::Enabled || change == ui::Change::Interval) {
      auto found = bindings_.find(model);
      if (found != bindings_.end())
        Follow(found->second);
    }
  });
  auto [entry, inserted] = bindings_.emplace(&timer, std::move(binding));
  (void)inserted;
  Follow(entry->second);
}

const QTimer* QtTimerDriver::QTimerOf(const ui::Timer& timer) const {
  auto found = bindings_.find(const_cast<ui::Timer*>(&timer));
  return found == bindings_.end() ? nullptr : found->second.timer.get();
}

void QtTimerDriver::Follow(Binding& binding) {
  const std::uint32_t interval = binding.model->Interval();
  if (!binding.model->Enabled() || interval == 0) {
    binding.timer->stop();
    return;
  }
  const auto limit = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
  binding.timer->start(static_cast<int>(interval < limit ? interval : limit));
}

void QtTimerDriver::Unbind(ui::Timer* timer, bool removeObserver) {
  auto found = bindings_.find(timer);
  if (found == bindings_.end())
    return;
  // A destroyed model is in the middle of notifying this very observer: it drops its
  // observers itself.
  if (removeObserver)
    timer->RemoveObserver(found->second.observer);
  std::unique_ptr<QTimer> qtimer = std::move(found->second.timer);
  bindings_.erase(found);
  qtimer->stop();
  qtimer.release()->deleteLater();
}

}  // namespace brontel::qt
