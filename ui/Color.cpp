#include "ui/Color.h"

#include <array>

namespace brontel::ui {

Color DefaultSystemColor(std::uint32_t n) {
  // The classic Windows palette, in the order of the system colour numbers.
  static constexpr std::array<Color, 25> kClassic = {
      0xC8C8C8,  // scroll bar
      0x000000,  // desktop background
      0x6A240A,  // active caption
      0x808080,  // inactive caption
      0xC8D0D4,  // menu
      0xFFFFFF,  // window
      0x000000,  // window frame
      0x000000,  // menu text
      0x000000,  // window text
      0xFFFFFF,  // caption text
      0xC8D0D4,  // active border
      0xC8D0D4,  // inactive border
      0x808080,  // application work space
      0x6A240A,  // highlight
      0xFFFFFF,  // highlight text
      0xC8D0D4,  // button face
      0x808080,  // button shadow
      0x808080,  // grey text
      0x000000,  // button text
      0xC8D0D4,  // inactive caption text
      0xFFFFFF,  // button highlight
      0x404040,  // 3-D dark shadow
      0xC8D0D4,  // 3-D light
      0x000000,  // info text
      0xE1FFFF,  // info background
  };
  return n < kClassic.size() ? kClassic[n] : clBlack;
}

Color ResolveColor(Color c) {
  if (c == clNone)
    return clNone;
  if (IsSystemColor(c))
    return DefaultSystemColor(c - kSystemColorBase);
  return c & 0x00FFFFFF;
}

}  // namespace brontel::ui
