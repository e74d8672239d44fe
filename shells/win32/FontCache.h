/** @file FontCache.h: GDI fonts for the layout's font descriptions, made once and kept. */
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "ui/Control.h"

namespace brontel::win32 {

// One HFONT per distinct face, height and style. The handful of fonts a viewer uses live as
// long as the process: hosts load a plug-in once, and viewers come and go. UI thread only.
//
// The layout names faces that a system may lack (Wine without its own fonts, trimmed Windows
// installations); GDI then quietly maps the request to whatever it likes, often a proportional
// face. So the face the system actually gave (GetTextFace) is checked against the one asked
// for, and a missing face is replaced from a list of common faces of the same kind.
class FontCache {
 public:
  FontCache();
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // A caption's font (never null): the asked face where the system has it, else the first of
  // the usual interface faces that it has, else the system's own choice. Symbol faces are
  // made as asked: no other face holds their glyphs.
  HFONT Get(const ui::Font& font);
  // A font for text in fixed cells (never null), always fixed-pitch: the asked face where the
  // system has it as a fixed-pitch face, else the first such of the usual monospace faces,
  // else the system's fixed font.
  HFONT GetFixedPitch(const ui::Font& font);
  // `font` with the face that GetFixedPitch draws it in.
  ui::Font FixedPitchOf(const ui::Font& font);
  // Whether the system has the face `name` itself, not a stand-in for it.
  bool HasFace(const std::string& name);

  // Faces whose characters are symbols, reached only with the symbol character set.
  static bool IsSymbolFace(const std::string& name);
  // The process's cache.
  static FontCache& Shared();

 private:
  struct Given {
    std::string face;
    bool fixedPitch = false;
  };
  using Made = std::tuple<std::string, int, int, BYTE>;

  HFONT Make(const std::string& face, int height, ui::FontStyle style, BYTE pitch);
  Given Inspect(HFONT font) const;
  bool Gives(const std::string& face, int height, BYTE pitch, bool fixedPitch);
  std::string ChooseCaptionFace(const ui::Font& font);
  std::string ChooseFixedPitchFace(const ui::Font& font);

  HDC probe_;  // measures candidates; never drawn on
  std::map<Made, HFONT> made_;
  std::map<std::pair<std::string, int>, std::string> captionFaces_;
  std::map<std::pair<std::string, int>, std::string> fixedPitchFaces_;
};

}  // namespace brontel::win32
