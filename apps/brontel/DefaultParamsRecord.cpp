#include "apps/brontel/DefaultParamsRecord.h"

#include <cstring>
#include <string_view>

#include "platform/ProgramDirectory.h"
#include "plugin/ListerContract.h"

namespace brontel::app {

std::vector<char> DefaultParamsRecord(const std::string& hostSettingsFile) {
  const ListerDefaultParams record = MakeListerDefaultParams(hostSettingsFile);
  std::vector<char> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
}

std::string SettingsFolderProblem(const std::string& directory) {
  std::string settingsFile = HostSettingsFileIn(directory);
  settingsFile.replace(settingsFile.size() - std::string_view("wlx.ini").size(), std::string::npos,
                       "brontel.ini");
  if (settingsFile.size() < kListerMaxPath)
    return {};
  return "the path of its brontel.ini has " + std::to_string(settingsFile.size()) +
         " bytes, more than the " + std::to_string(kListerMaxPath - 1) +
         " that the plug-in interface passes on";
}

std::string HostSettingsFileIn(const std::string& directory) {
  if (directory.empty())
    return directory;
  std::string name = directory;
  if (name.back() != platform::PathSeparator())
    name += platform::PathSeparator();
  return name + "wlx.ini";
}

}  // namespace brontel::app
