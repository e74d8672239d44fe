#include "classify/SymbolColor.h"

#include <array>
#include <cstddef>

#include "settings/AsciiCase.h"

namespace brontel {
namespace {

struct NamedColor {
  std::string_view name;
  ui::Color value;
};

constexpr std::array kColorNames{
    NamedColor{"clBlack", ui::clBlack},
    NamedColor{"clMaroon", ui::clMaroon},
    NamedColor{"clGreen", ui::clGreen},
    NamedColor{"clOlive", ui::clOlive},
    NamedColor{"clNavy", ui::clNavy},
    NamedColor{"clPurple", ui::clPurple},
    NamedColor{"clTeal", ui::clTeal},
    NamedColor{"clGray", ui::clGray},
    NamedColor{"clSilver", ui::clSilver},
    NamedColor{"clRed", ui::clRed},
    NamedColor{"clLime", ui::clLime},
    NamedColor{"clYellow", ui::clYellow},
    NamedColor{"clBlue", ui::clBlue},
    NamedColor{"clFuchsia", ui::clFuchsia},
    NamedColor{"clAqua", ui::clAqua},
    NamedColor{"clWhite", ui::clWhite},
    NamedColor{"clScrollBar", ui::clScrollBar},
    NamedColor{"clBackground", ui::clBackground},
    NamedColor{"clActiveCaption", ui::clActiveCaption},
    NamedColor{"clInactiveCaption", ui::clInactiveCaption},
    NamedColor{"clMenu", ui::clMenu},
    NamedColor{"clWindow", ui::clWindow},
    NamedColor{"clWindowFrame", ui::clWindowFrame},
    NamedColor{"clMenuText", ui::clMenuText},
    NamedColor{"clWindowText", ui::clWindowText},
    NamedColor{"clCaptionText", ui::clCaptionText},
    NamedColor{"clActiveBorder", ui::clActiveBorder},
    NamedColor{"clInactiveBorder", ui::clInactiveBorder},
    NamedColor{"clAppWorkSpace", ui::clAppWorkSpace},
    NamedColor{"clHighlight", ui::clHighlight},
    NamedColor{"clHighlightText", ui::clHighlightText},
    NamedColor{"clBtnFace", ui::clBtnFace},
    NamedColor{"clBtnShadow", ui::clBtnShadow},
    NamedColor{"clGrayText", ui::clGrayText},
    NamedColor{"clBtnText", ui::clBtnText},
    NamedColor{"clInactiveCaptionText", ui::clInactiveCaptionText},
    NamedColor{"clBtnHighlight", ui::clBtnHighlight},
    NamedColor{"cl3DDkShadow", ui::cl3DDkShadow},
    NamedColor{"cl3DLight", ui::cl3DLight},
    NamedColor{"clInfoText", ui::clInfoText},
    NamedColor{"clInfoBk", ui::clInfoBk},
    NamedColor{"clNone", ui::clNone},
};

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  const char lower = AsciiLower(c);
  if (lower >= 'a' && lower <= 'f')
    return lower - 'a' + 10;
  return -1;
}

// Skips a hexadecimal prefix ("$", "x", "X", "0x", "0X") at the front of `digits`.
bool SkipHexPrefix(std::string_view& digits) {
  if (!digits.empty() && (digits[0] == '$' || digits[0] == 'x' || digits[0] == 'X')) {
    digits.remove_prefix(1);
    return true;
  }
  if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    return true;
  }
  return false;
}

// The magnitude of a digit run; empty when a digit is invalid or the value exceeds `limit`.
std::optional<std::uint64_t> DigitRunValue(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty())
    return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base)
      return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > limit)
      return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool hex = SkipHexPrefix(text);
  // Hexadecimal may use all 32 bits; decimal must fit the signed range (one more when negative).
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  const std::optional<std::uint64_t> magnitude = DigitRunValue(text, hex ? 16 : 10, limit);
  if (!magnitude)
    return std::nullopt;
  auto bits = static_cast<std::uint32_t>(*magnitude);
  if (negative)
    bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::optional<ui::Color> ColorFromText(std::string_view text) {
  for (const NamedColor& named : kColorNames) {
    if (EqualIgnoringAsciiCase(text, named.name))
      return named.value;
  }
  const std::optional<std::int32_t> number = ParseIntegerText(text);
  if (!number)
    return std::nullopt;
  return static_cast<ui::Color>(*number);
}

ui::FontStyle StyleFromText(std::string_view text) {
  const auto bits = static_cast<std::uint32_t>(ParseIntegerText(text).value_or(0));
  ui::FontStyle style = ui::FontStyle::None;
  if ((bits & 1u) != 0)
    style |= ui::FontStyle::Bold;
  if ((bits & 2u) != 0)
    style |= ui::FontStyle::Italic;
  if ((bits & 4u) != 0)
    style |= ui::FontStyle::Underline;
  return style;
}

}  // namespace brontel
