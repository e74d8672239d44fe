/** @file ViewerRegistry.h: the open viewers, by the native window handle the host knows them by. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "plugin/TListWindowIntf.h"

namespace brontel {

// An ordered map from native window handle to viewer. It does not own the viewers: dropping an
// entry or the whole registry neither closes nor frees them. No lock: UI thread only.
class ViewerRegistry {
 public:
  // Registers `viewer` under `handle`, replacing whatever that handle held.
  void Register(std::uintptr_t handle, TListWindowIntf& viewer);
  // The viewer registered under `handle`, nullptr when there is none.
  TListWindowIntf* Find(std::uintptr_t handle) const;
  // Drops the entry of `handle`; nothing when there is none.
  void Remove(std::uintptr_t handle);
  std::size_t Count() const { return viewers_.size(); }
  bool Empty() const { return viewers_.empty(); }

 private:
  std::map<std::uintptr_t, TListWindowIntf*> viewers_;
};

}  // namespace brontel
