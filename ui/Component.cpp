#include "ui/Component.h"

#include <algorithm>

namespace brontel::ui {

Component::~Component() {
  Notify(Change::Destroyed);
}

Component::ObserverId Component::AddObserver(Observer observer) {
  const ObserverId id = nextId_++;
  observers_.push_back(Entry{id, std::move(observer)});
  return id;
}

void Component::RemoveObserver(ObserverId id) {
  std::erase_if(observers_, [id](const Entry& entry) { return entry.id == id; });
}

void Component::Notify(Change change) {
  // Observers may add or remove observers while they run, so walk a snapshot of the ids and
  // skip the ones that went away meanwhile.
  std::vector<ObserverId> ids;
  ids.reserve(observers_.size());
  for (const Entry& entry : observers_)
    ids.push_back(entry.id);
  for (ObserverId id : ids) {
    auto it = std::find_if(observers_.begin(), observers_.end(),
                           [id](const Entry& entry) { return entry.id == id; });
    if (it == observers_.end())
      continue;
    Observer observer = it->observer;  // the entry may be erased by the call
    observer(*this, change);
  }
}

}  // namespace brontel::ui
