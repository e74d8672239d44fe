#include "shells/win32/BrushCache.h"

namespace brontel::win32 {

BrushCache::~BrushCache() {
  for (auto& [color, brush] : brushes_)
    ::DeleteObject(brush);
}

BrushCache& BrushCache::Shared() {
  static BrushCache* const cache = new BrushCache();  // outlives every viewer
  return *cache;
}

HBRUSH BrushCache::Get(ui::Color color) {
  if (color == ui::clNone)
    return ::GetSysColorBrush(COLOR_BTNFACE);
  if (ui::IsSystemColor(color))
    return ::GetSysColorBrush(static_cast<int>(color & 0xFF));
  const COLORREF plain = color & 0x00FFFFFF;
  if (const auto found = brushes_.find(plain); found != brushes_.end())
    return found->second;
  HBRUSH brush = ::CreateSolidBrush(plain);
  brushes_.emplace(plain, brush);
  return brush;
}

}  // namespace brontel::win32
