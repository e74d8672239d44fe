#include "apps/brontel/Display.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace brontel::app {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The display number of a local display name, or empty for any other name.
std::string LocalDisplayNumber(const std::string& display) {
  std::size_t colon = display.find(':');
  if (colon == std::string::npos)
    return {};
  const std::string host = display.substr(0, colon);
  if (!host.empty() && host != "unix")
    return {};
  std::string number;
  for (std::size_t i = colon + 1; i < display.size() && display[i] != '.'; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(display[i])))
      return {};
    number += display[i];
  }
  return number;
}

}  // namespace

bool X11DisplayReachable(const std::string& display, const std::string& socketFolder) {
  if (display.empty())
    return false;
  const std::string number = LocalDisplayNumber(display);
  if (number.empty())
    return true;
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(socketFolder) / ("X" + number), error);
}

bool HasDisplay() {
  return !Variable("WAYLAND_DISPLAY").empty() ||
         X11DisplayReachable(Variable("DISPLAY"), "/tmp/.X11-unix");
}

}  // namespace brontel::app
