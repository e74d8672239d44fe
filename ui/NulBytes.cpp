#include "ui/NulBytes.h"

#include <cstring>

namespace brontel::ui {

std::size_t ShowNulBytes(char* data, std::size_t size) {
  std::size_t replaced = 0;
  char* const end = data + size;
  for (char* at = data; at < end; ++at, ++replaced) {
    at = static_cast<char*>(std::memchr(at, '\0', static_cast<std::size_t>(end - at)));
    if (at == nullptr)
      break;
    *at = kNulPlaceholder;
  }
  return replaced;
}

std::string_view ShownText(std::string_view text, std::string& shown) {
  if (text.empty() || std::memchr(text.data(), '\0', text.size()) == nullptr)
    return text;
  shown.assign(text);
  ShowNulBytes(shown.data(), shown.size());
  return shown;
}

}  // namespace brontel::ui
