/** @file BrushCache.h: solid GDI brushes for model colours, made once and kept. */
#pragma once

#include <windows.h>

#include <map>

#include "ui/Color.h"

namespace brontel::win32 {

// System colours come from GetSysColorBrush (owned by the system); plain colours get one solid
// brush each, kept for the process's life. UI thread only.
class BrushCache {
 public:
  BrushCache() = default;
  ~BrushCache();
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;

  // The brush for `color` (clNone gives the button-face brush).
  HBRUSH Get(ui::Color color);
  static BrushCache& Shared();

 private:
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace brontel::win32
