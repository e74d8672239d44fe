#include "settings/SettingsFile.h"

#include "platform/ProgramDirectory.h"

namespace brontel {
namespace {

constexpr std::size_t kSplitWindow = 9999;

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
