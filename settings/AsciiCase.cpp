#include "settings/AsciiCase.h"

namespace brontel {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i]))
      return false;
  }
  return true;
}

}  // namespace brontel
