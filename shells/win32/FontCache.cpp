#include "shells/win32/FontCache.h"

#include <cctype>
#include <cstring>

namespace brontel::win32 {
namespace {

constexpr BYTE kAnyPitch = DEFAULT_PITCH;
constexpr BYTE kFixedPitch = FIXED_PITCH | FF_MODERN;
// In order of preference: the first face the system has wins.
const char* const kCaptionFaces[] = {"Tahoma",  "Segoe UI",    "Microsoft Sans Serif",
                                     "Verdana", "DejaVu Sans", "Liberation Sans"};
const char* const kMonospaceFaces[] = {"Consolas", "Lucida Console", "DejaVu Sans Mono",
                                       "Liberation Mono"};

// GDI matches face names without regard to case.
bool SameFace(const std::string& a, const std::string& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

FontCache::FontCache() : probe_(::CreateCompatibleDC(nullptr)) {}

FontCache::~FontCache() {
  for (auto& [key, font] : made_)
    ::DeleteObject(font);
  if (probe_ != nullptr)
    ::DeleteDC(probe_);
}

FontCache& FontCache::Shared() {
  static FontCache* const cache = new FontCache();  // outlives every viewer
  return *cache;
}

bool FontCache::IsSymbolFace(const std::string& name) {
  for (const char* symbols : {"Marlett", "Symbol", "Webdings", "Wingdings"})
    if (SameFace(name, symbols))
      return true;
  return false;
}

HFONT FontCache::Get(const ui::Font& font) {
  const auto key = std::make_pair(font.name, font.height);
  auto chosen = captionFaces_.find(key);
  if (chosen == captionFaces_.end())
    chosen = captionFaces_.emplace(key, ChooseCaptionFace(font)).first;
  return Make(chosen->second, font.height, font.style, kAnyPitch);
}

HFONT FontCache::GetFixedPitch(const ui::Font& font) {
  return Make(FixedPitchOf(font).name, font.height, font.style, kFixedPitch);
}

ui::Font FontCache::FixedPitchOf(const ui::Font& font) {
  const auto key = std::make_pair(font.name, font.height);
  auto chosen = fixedPitchFaces_.find(key);
  if (chosen == fixedPitchFaces_.end())
    chosen = fixedPitchFaces_.emplace(key, ChooseFixedPitchFace(font)).first;
  ui::Font resolved = font;
  resolved.name = chosen->second;
  return resolved;
}

bool FontCache::HasFace(const std::string& name) {
  return Gives(name, -11, kAnyPitch, false);
}

HFONT FontCache::Make(const std::string& face, int height, ui::FontStyle style, BYTE pitch) {
  const Made key{face, height, static_cast<int>(style), pitch};
  if (const auto found = made_.find(key); found != made_.end())
    return found->second;
  LOGFONTA description{};
  description.lfHeight = height;
  description.lfWeight = ui::HasStyle(style, ui::FontStyle::Bold) ? FW_BOLD : FW_NORMAL;
  description.lfItalic = ui::HasStyle(style, ui::FontStyle::Italic);
  description.lfUnderline = ui::HasStyle(style, ui::FontStyle::Underline);
  description.lfStrikeOut = ui::HasStyle(style, ui::FontStyle::StrikeOut);
  description.lfCharSet = IsSymbolFace(face) ? SYMBOL_CHARSET : DEFAULT_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = pitch;
  ::strncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT created = ::CreateFontIndirectA(&description);
  if (created == nullptr)
    return static_cast<HFONT>(
        ::GetStockObject(pitch == kFixedPitch ? SYSTEM_FIXED_FONT : DEFAULT_GUI_FONT));
  made_.emplace(key, created);
  return created;
}

FontCache::Given FontCache::Inspect(HFONT font) const {
  if (probe_ == nullptr)
    return Given{};
  const HGDIOBJ previous = ::SelectObject(probe_, font);
  char face[LF_FACESIZE] = {};
  ::GetTextFaceA(probe_, LF_FACESIZE, face);
  TEXTMETRICA metrics{};
  const bool measured = ::GetTextMetricsA(probe_, &metrics) != FALSE;
  ::SelectObject(probe_, previous);
  // Despite its name, TMPF_FIXED_PITCH is set for variable-pitch fonts.
  return Given{face, measured && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0};
}

bool FontCache::Gives(const std::string& face, int height, BYTE pitch, bool fixedPitch) {
  const Given given = Inspect(Make(face, height, ui::FontStyle::None, pitch));
  return SameFace(given.face, face) && (given.fixedPitch || !fixedPitch);
}

std::string FontCache::ChooseCaptionFace(const ui::Font& font) {
  if (IsSymbolFace(font.name) || Gives(font.name, font.height, kAnyPitch, false))
    return font.name;
  for (const char* face : kCaptionFaces)
    if (Gives(face, font.height, kAnyPitch, false))
      return face;
  return font.name;  // the system's own stand-in, then
}

std::string FontCache::ChooseFixedPitchFace(const ui::Font& font) {
  if (Gives(font.name, font.height, kFixedPitch, true))
    return font.name;
  for (const char* face : kMonospaceFaces)
    if (Gives(face, font.height, kFixedPitch, true))
      return face;
  // The mapper's own choice for a request that names only the pitch, then the stock font that
  // is fixed-pitch on every system.
  const Given mapped = Inspect(Make("", font.height, ui::FontStyle::None, kFixedPitch));
  if (mapped.fixedPitch && Gives(mapped.face, font.height, kFixedPitch, true))
    return mapped.face;
  return Inspect(static_cast<HFONT>(::GetStockObject(SYSTEM_FIXED_FONT))).face;
}

}  // namespace brontel::win32
