#include <windows.h>

#include <vector>

#include "platform/Utf16Text.h"

namespace brontel::platform {

std::size_t Utf16ToText(const char* bytes, std::size_t unitCount, bool bigEndian, char* out) {
  if (unitCount == 0)
    return 0;
  std::vector<wchar_t> units(unitCount);
  for (std::size_t i = 0; i < unitCount; ++i)
    units[i] = static_cast<wchar_t>(Utf16UnitAt(bytes, i, bigEndian));
  const int written =
      WideCharToMultiByte(CP_ACP, 0, units.data(), static_cast<int>(unitCount), out,
                          static_cast<int>(unitCount * kTextBytesPerUtf16Unit), nullptr, nullptr);
  return written > 0 ? static_cast<std::size_t>(written) : 0;
}

std::size_t Utf16UnitsOf(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size(); ++i, ++units) {
    if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size())
      ++i;
  }
  return units;
}

std::size_t WholeCharacterPrefix(std::string_view text, std::size_t limit) {
  if (limit >= text.size())
    return text.size();
  if (limit == 0)
    return 0;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next =
        end + (IsDBCSLeadByte(static_cast<BYTE>(text[end])) && end + 1 < text.size() ? 2 : 1);
    if (next > limit)
      return end > 0 ? end : next;
    end = next;
  }
  return end;
}

}  // namespace brontel::platform
