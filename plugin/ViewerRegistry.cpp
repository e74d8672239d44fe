#include "plugin/ViewerRegistry.h"

namespace brontel {

void ViewerRegistry::Register(std::uintptr_t handle, TListWindowIntf& viewer) {
  viewers_[handle] = &viewer;
}

TListWindowIntf* ViewerRegistry::Find(std::uintptr_t handle) const {
  const auto found = viewers_.find(handle);
  return found == viewers_.end() ? nullptr : found->second;
}

void ViewerRegistry::Remove(std::uintptr_t handle) {
  viewers_.erase(handle);
}

}  // namespace brontel
