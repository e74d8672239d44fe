#include "apps/brontel/DefaultParamsRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "plugin/ListerContract.h"
#include "plugin/ListerPlugin.h"

namespace brontel::app {
namespace {

std::string NameIn(const std::vector<char>& record) {
  return std::string(record.data() + offsetof(ListerDefaultParams, defaultIniName));
}

TEST(DefaultParamsRecordTest, TheNameLiesWhereThePluginReadsIt) {
  const std::vector<char> record = DefaultParamsRecord(HostSettingsFileIn("/home/u/.config/x"));
  std::int32_t size = 0;
  std::memcpy(&size, record.data(), sizeof size);
  EXPECT_EQ(static_cast<std::size_t>(size), record.size());
  EXPECT_EQ(NameIn(record), "/home/u/.config/x/wlx.ini");
  // So the plug-in's settings file is brontel.ini in that folder.
  EXPECT_EQ(SettingsPathBeside(NameIn(record)), "/home/u/.config/x/brontel.ini");
  EXPECT_EQ(HostSettingsFileIn("/etc/"), "/etc/wlx.ini");
}

TEST(DefaultParamsRecordTest, ALongNameIsCutInsideTheRecord) {
  const std::vector<char> record = DefaultParamsRecord(std::string(500, 'n'));
  EXPECT_EQ(NameIn(record).size(), kListerMaxPath - 1);
  EXPECT_EQ(record.size(), sizeof(ListerDefaultParams));
}

TEST(DefaultParamsRecordTest, NoFolderGivesAnEmptyName) {
  EXPECT_EQ(HostSettingsFileIn(""), "");
  EXPECT_EQ(NameIn(DefaultParamsRecord("")), "");
}

}  // namespace
}  // namespace brontel::app
