#include "apps/brontel/DefaultParamsRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/ProgramDirectory.h"

namespace brontel::app {
namespace {

constexpr std::size_t kNameOffset = 12;
constexpr std::size_t kNameBuffer = 260;  // the interface's MAX_PATH
constexpr std::int32_t kVersionLow = 2;
constexpr std::int32_t kVersionHigh = 10;

void PutInt32(std::vector<char>& bytes, std::size_t offset, std::int32_t value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

}  // namespace

std::vector<char> DefaultParamsRecord(const std::string& hostSettingsFile) {
  std::vector<char> record(kNameOffset + kNameBuffer, '\0');
  PutInt32(record, 0, static_cast<std::int32_t>(record.size()));
  PutInt32(record, 4, kVersionLow);
  PutInt32(record, 8, kVersionHigh);
  const std::size_t length = std::min(hostSettingsFile.size(), kNameBuffer - 1);
  std::copy_n(hostSettingsFile.data(), length, record.data() + kNameOffset);
  return record;
}

std::string SettingsFolderProblem(const std::string& directory) {
  std::string settingsFile = HostSettingsFileIn(directory);
  settingsFile.replace(settingsFile.size() - std::string_view("wlx.ini").size(), std::string::npos,
                       "brontel.ini");
  if (settingsFile.size() < kNameBuffer)
    return {};
  return "the path of its brontel.ini has " + std::to_string(settingsFile.size()) +
         " bytes, more than the " + std::to_string(kNameBuffer - 1) +
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
