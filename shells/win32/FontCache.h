/** @file FontCache.h: GDI fonts for the layout's font descriptions, made once and kept. */
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "ui/Control.h"

namespace brontel::win32 {

// One HFONT per distinct name, height and style. The handful of fonts a viewer uses live as
// long as the process: hosts load a plug-in once, and viewers come and go. UI thread only.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // The font (never null: the stock GUI font when creating it failed).
  HFONT Get(const ui::Font& font);
  // The process's cache.
  static FontCache& Shared();

 private:
  std::map<std::tuple<std::string, int, int>, HFONT> fonts_;
};

}  // namespace brontel::win32
