#include "settings/SettingsFile.h"

#include <cstdlib>

#include "platform/ProgramDirectory.h"
#include "settings/AsciiCase.h"

namespace brontel {
namespace {

constexpr std::size_t kSplitWindow = 9999;
constexpr std::string_view kMsgTypesSection = "msgtypes";

bool IsMsgTypesSection(std::string_view section) {
  const std::size_t length = kMsgTypesSection.size();
  return EqualIgnoringAsciiCase(section.substr(0, length), kMsgTypesSection) &&
         (section.size() == length || section[length] == '.');
}

}  // namespace

std::string& SettingsFilePath() {
  static std::string path;
  return path;
}

bool UsingFallbackSettingsPath() {
  return SettingsFilePath().empty();
}

std::string GetSettingsFilePath() {
  if (!SettingsFilePath().empty())
    return SettingsFilePath();
  const std::string directory = platform::WritableProgramDirectory();
  if (directory.empty())
    return {};
  return directory + std::string(kSettingsFileName);
}

// Message types are only ever read, so a preset file takes their place without a copy of the
// user's settings, and every other section, written or not, stays in brontel.ini.
std::string SettingsFilePathFor(std::string_view section) {
  if (IsMsgTypesSection(section)) {
    const char* preset = std::getenv(kMsgTypesFileVariable);
    if (preset != nullptr && *preset != '\0')
      return preset;
  }
  return GetSettingsFilePath();
}

std::vector<std::string> SplitKeyPath(std::string_view keyPath) {
  std::vector<std::string> components;
  std::string_view rest = keyPath;
  for (;;) {
    const std::size_t backslash = rest.find('\\');
    if (backslash == std::string_view::npos)
      break;
    components.emplace_back(rest.substr(0, backslash));
    rest = rest.substr(backslash + 1, kSplitWindow);
  }
  // The text after the last backslash; dropped only when it is an empty trailing component.
  if (!rest.empty() || components.empty())
    components.emplace_back(rest);
  return components;
}

SettingsKey MapKeyPath(const std::vector<std::string>& components) {
  if (components.empty())
    return {std::string(kPreferencesSection), ""};
  if (components.size() == 1)
    return {std::string(kPreferencesSection), components.front()};
  std::string key = components[1];
  for (std::size_t i = 2; i < components.size(); ++i)
    key += "." + components[i];
  return {components.front(), key};
}

}  // namespace brontel
