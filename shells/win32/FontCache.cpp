#include "shells/win32/FontCache.h"

#include <cstring>

namespace brontel::win32 {

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_)
    ::DeleteObject(font);
}

FontCache& FontCache::Shared() {
  static FontCache* const cache = new FontCache();  // outlives every viewer
  return *cache;
}

HFONT FontCache::Get(const ui::Font& font) {
  const auto key = std::make_tuple(font.name, font.height, static_cast<int>(font.style));
  if (const auto found = fonts_.find(key); found != fonts_.end())
    return found->second;
  LOGFONTA description{};
  description.lfHeight = font.height;
  description.lfWeight = ui::HasStyle(font.style, ui::FontStyle::Bold) ? FW_BOLD : FW_NORMAL;
  description.lfItalic = ui::HasStyle(font.style, ui::FontStyle::Italic);
  description.lfUnderline = ui::HasStyle(font.style, ui::FontStyle::Underline);
  description.lfStrikeOut = ui::HasStyle(font.style, ui::FontStyle::StrikeOut);
  // Marlett holds symbols; its glyphs are only reached with the symbol character set.
  description.lfCharSet = font.name == "Marlett" ? SYMBOL_CHARSET : DEFAULT_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  ::strncpy(description.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
  HFONT created = ::CreateFontIndirectA(&description);
  if (created == nullptr)
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(key, created);
  return created;
}

}  // namespace brontel::win32
