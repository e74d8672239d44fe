#include "apps/brontel/DefaultParamsRecord.h"

#include <cstring>

#include "platform/ProgramDirectory.h"
#include "plugin/ListerContract.h"

namespace brontel::app {

std::vector<char> DefaultParamsRecord(const std::string& hostSettingsFile) {
  const ListerDefaultParams record = MakeListerDefaultParams(hostSettingsFile);
  std::vector<char> bytes(sizeof record);
  std::memcpy(bytes.data(), &record, sizeof record);
  return bytes;
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
