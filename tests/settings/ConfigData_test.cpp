#include "settings/ConfigData.h"

#include <gtest/gtest.h>

#include "platform/PlatformError.h"
#include "settings/ExtMgr.h"
#include "tests/settings/SettingsFileTest.h"
#include "tests/support/MemorySettings.h"

namespace brontel {
namespace {

using testing::MemorySettings;
using Log = std::vector<std::string>;

const char* const kInitialRecordFile =
    "[Preferences]\r\n"
    "Options.AutoFollowMode=1\r\n"
    "Options.LastCycleName=\r\n"
    "Options.AutoCycle=0\r\n"
    "Options.LoadCompleteFile=0\r\n"
    "Options.Active=1\r\n"
    "Options.LastBufferSizeIndex=2\r\n"
    "Options.LastHistMaxLinesIndex=1\r\n"
    "Options.LastFolder=\r\n"
    "Options.StayOnTop=0\r\n"
    "Options.WindowState=0\r\n"
    "Options.AssociatedExts=\r\n"
    "[Layouts]\r\n"
    "Count=0\r\n";

class ConfigDataFileTest : public testing::SettingsFileTest {
 protected:
  ExtMgr store_;
};

TEST_F(ConfigDataFileTest, InitialRecordSavedIntoAMissingFile) {
  ConfigData record;
  record.SaveToSettings(store_);
  EXPECT_EQ(Bytes(), kInitialRecordFile);
}

TEST_F(ConfigDataFileTest, SavingIntoAnExistingFileChangesOnlyTheWrittenValues) {
  Put("; Brontel settings\r\n"
      "[EXT]\r\n"
      ".log=10\r\n"
      "\r\n"
      "[ preferences ]\r\n"
      "  OPTIONS.ACTIVE = 7 \r\n"
      "options.autofollowmode=0\r\n"
      "; keep me\r\n"
      "Options.LastFolder =   /var/log\r\n"
      "\r\n"
      "[Layouts]\n"
      "count=1\n"
      "Layout0=1|2|3|4|5|6|7\n"
      "Layout5=9|9|9|9|9|9|9|\n"
      "[ColumnsDefs]\r\n"
      "Count=1\r\n"
      "Item0=Web\r\n");
  ConfigData record;
  record.LoadFromSettings(store_);
  record.SaveToSettings(store_);
  EXPECT_EQ(Bytes(),
            "; Brontel settings\r\n"
            "[EXT]\r\n"
            ".log=10\r\n"
            "\r\n"
            "[ preferences ]\r\n"
            "  OPTIONS.ACTIVE = 1\r\n"
            "options.autofollowmode=0\r\n"
            "; keep me\r\n"
            "Options.LastFolder =   /var/log\r\n"
            "Options.LastCycleName=\r\n"
            "Options.AutoCycle=0\r\n"
            "Options.LoadCompleteFile=0\r\n"
            "Options.LastBufferSizeIndex=2\r\n"
            "Options.LastHistMaxLinesIndex=1\r\n"
            "Options.StayOnTop=0\r\n"
            "Options.WindowState=0\r\n"
            "Options.AssociatedExts=.logs\r\n"
            "\r\n"
            "[Layouts]\n"
            "count=1\n"
            "Layout0=1|2|3|4|5|6|0|\n"
            "Layout5=9|9|9|9|9|9|9|\n"
            "[ColumnsDefs]\r\n"
            "Count=1\r\n"
            "Item0=Web\r\n");
}

TEST_F(ConfigDataFileTest, NoFileLoadsTheDefaults) {
  ConfigData record;
  record.LoadCompleteFile = true;
  record.AssociatedExts = "x";
  record.LoadFromSettings(store_);
  EXPECT_TRUE(record.AutoFollowMode);
  EXPECT_EQ(record.LastCycleName, "");
  EXPECT_FALSE(record.AutoCycle);
  EXPECT_FALSE(record.LoadCompleteFile);
  EXPECT_TRUE(record.Active);
  EXPECT_EQ(record.LastBufferSizeIndex, 2);
  EXPECT_EQ(record.LastHistMaxLinesIndex, 1);
  EXPECT_EQ(record.LastFolder, "");
  EXPECT_FALSE(record.StayOnTop);
  EXPECT_EQ(record.WindowState, 0);
  EXPECT_EQ(record.AssociatedExts, ".logs");
  EXPECT_EQ(record.LayoutCount, 0);
  EXPECT_TRUE(record.Layouts.empty());
  EXPECT_EQ(record.ColumnSetCount, 0);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(ConfigDataFileTest, ARefusedWriteEndsTheSaveAndRaises) {
  Put("[Preferences]\r\nOptions.AutoFollowMode=1\r\n");
  std::filesystem::permissions(path_, std::filesystem::perms::owner_read);
  ConfigData record;
  EXPECT_THROW(record.SaveToSettings(store_), platform::PlatformError);
  EXPECT_EQ(Bytes(), "[Preferences]\r\nOptions.AutoFollowMode=1\r\n");
  // Windows deletes no read-only file: the folder goes only once the file is writable again.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

TEST(ConfigDataLoad, ReadsEveryKeyInOrder) {
  MemorySettings store;
  store.values = {{"Layouts\\Count", "2"}, {"ColumnsDefs\\Count", "1"}};
  ConfigData record;
  record.LoadFromSettings(store);
  EXPECT_EQ(store.log, (Log{"R Options.AutoFollowMode", "R Options.LastCycleName",
                            "R Options.AutoCycle", "R Options.LoadCompleteFile", "R Options.Active",
                            "R Options.LastBufferSizeIndex", "R Options.LastHistMaxLinesIndex",
                            "R Options.LastFolder", "R Options.StayOnTop", "R Options.WindowState",
                            "R Options.AssociatedExts", "R Layouts\\Count", "R Layouts\\Layout0",
                            "R Layouts\\Layout1", "R ColumnsDefs\\Count", "R ColumnsDefs\\Item0"}));
}

TEST(ConfigDataLoad, CompleteLoadWinsOverAutoTailWithoutReadingIt) {
  MemorySettings store;
  store.values = {{"Options.LoadCompleteFile", "1"}, {"Options.Active", "1"}};
  ConfigData record;
  record.LoadFromSettings(store);
  EXPECT_TRUE(record.LoadCompleteFile);
  EXPECT_FALSE(record.Active);
  EXPECT_EQ(std::count(store.log.begin(), store.log.end(), "R Options.Active"), 0);
}

TEST(ConfigDataLoad, StoredValuesGoStraightIntoTheFields) {
  MemorySettings store;
  store.values = {{"Options.Active", "7"},
                  {"Options.AutoFollowMode", "0"},
                  {"Options.LastBufferSizeIndex", "99"},
                  {"Options.LastHistMaxLinesIndex", "-4"},
                  {"Options.LastCycleName", "app"},
                  {"Options.WindowState", "$10"},
                  {"Options.StayOnTop", "-1"},
                  {"Options.AutoCycle", "x"}};
  ConfigData record;
  int changes = 0;
  record.OnChange = [&] { ++changes; };
  record.LoadFromSettings(store);
  EXPECT_TRUE(record.Active);
  EXPECT_FALSE(record.AutoFollowMode);
  EXPECT_EQ(record.LastBufferSizeIndex, 99);
  EXPECT_EQ(record.LastHistMaxLinesIndex, -4);
  EXPECT_EQ(record.LastCycleName, "app");
  EXPECT_EQ(record.WindowState, 16);
  EXPECT_TRUE(record.StayOnTop);
  EXPECT_FALSE(record.AutoCycle);
  EXPECT_EQ(changes, 0);
  store.log.clear();
  record.SaveToSettings(store);
  EXPECT_EQ(store.values["Options.Active"], "1");
  EXPECT_EQ(store.values["Options.StayOnTop"], "1");
}

TEST(ConfigDataSave, WritesEveryKeyInOrder) {
  MemorySettings store;
  ConfigData record;
  record.LayoutCount = 2;
  record.Layouts = {Layout{{1, 2, 3, 4, 5, 6, 7}}, Layout{{-1, 0, 0, 0, 0, 0, 2147483647}}};
  record.LastCycleName = "base";
  record.SaveToSettings(store);
  EXPECT_EQ(
      store.log,
      (Log{"W Options.AutoFollowMode=1", "W Options.LastCycleName=base", "W Options.AutoCycle=0",
           "W Options.LoadCompleteFile=0", "W Options.Active=1", "W Options.LastBufferSizeIndex=2",
           "W Options.LastHistMaxLinesIndex=1", "W Options.LastFolder=", "W Options.StayOnTop=0",
           "W Options.WindowState=0", "W Options.AssociatedExts=", "W Layouts\\Count=2",
           "W Layouts\\Layout0=1|2|3|4|5|6|7|", "W Layouts\\Layout1=-1|0|0|0|0|0|2147483647|"}));
}

TEST(ConfigDataSave, StopsAtTheFirstRefusedWrite) {
  MemorySettings store;
  store.failingWrite = "Options.Active";
  ConfigData record;
  EXPECT_THROW(record.SaveToSettings(store), std::runtime_error);
  EXPECT_EQ(store.log.size(), 5u);
  EXPECT_EQ(store.values.size(), 4u);
  EXPECT_EQ(store.values.count("Options.LastBufferSizeIndex"), 0u);
}

TEST(ConfigDataSave, ACountBeyondTheRecordsWritesZeroRecords) {
  MemorySettings store;
  ConfigData record;
  record.LayoutCount = 2;
  record.Layouts = {Layout{{1, 1, 1, 1, 1, 1, 1}}};
  record.SaveToSettings(store);
  EXPECT_EQ(store.values["Layouts\\Layout1"], "0|0|0|0|0|0|0|");
}

TEST(Layouts, ParsingRules) {
  MemorySettings store;
  store.values = {{"Layouts\\Count", "4"},
                  {"Layouts\\Layout1", "1|2|3|4|5|6|7"},
                  {"Layouts\\Layout2", "-5|0|0|0|0|0|0|"},
                  {"Layouts\\Layout3", "8|9|extra text without bar"}};
  ConfigData record;
  record.LoadFromSettings(store);
  ASSERT_EQ(record.LayoutCount, 4);
  ASSERT_EQ(record.Layouts.size(), 4u);
  EXPECT_EQ(record.Layouts[0], Layout{});
  EXPECT_EQ(record.Layouts[1], (Layout{{1, 2, 3, 4, 5, 6, 0}}));
  EXPECT_EQ(record.Layouts[2], (Layout{{-5, 0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(record.Layouts[3], (Layout{{8, 9, 0, 0, 0, 0, 0}}));
  store.log.clear();
  record.SaveToSettings(store);
  EXPECT_EQ(store.values["Layouts\\Layout1"], "1|2|3|4|5|6|0|");
}

TEST(Layouts, AFieldThatIsNoIntegerReadsAsZeroAndTheLoadGoesOn) {
  for (const char* bad : {"1||3|", "1|x|3|", "1| 2|3|"}) {
    MemorySettings store;
    store.values = {{"Layouts\\Count", "2"},
                    {"Layouts\\Layout0", "4|4|4|4|4|4|4|"},
                    {"Layouts\\Layout1", bad},
                    {"ColumnsDefs\\Count", "1"}};
    ConfigData record;
    record.LoadFromSettings(store);
    EXPECT_EQ(record.Layouts[0], (Layout{{4, 4, 4, 4, 4, 4, 4}}));
    EXPECT_EQ(record.Layouts[1], (Layout{{1, 0, 3, 0, 0, 0, 0}})) << bad;
    EXPECT_EQ(record.ColumnSetCount, 1);  // the column sets after the layouts are read too
  }
}

TEST(Layouts, ACountOfZeroKeepsTheRecordsButSavesNone) {
  MemorySettings store;
  store.values = {{"Layouts\\Count", "1"}, {"Layouts\\Layout0", "3|3|3|3|3|3|3|"}};
  ConfigData record;
  record.LoadFromSettings(store);
  store.values["Layouts\\Count"] = "0";
  record.LoadFromSettings(store);
  EXPECT_EQ(record.LayoutCount, 0);
  ASSERT_EQ(record.Layouts.size(), 1u);
  EXPECT_EQ(record.Layouts[0], (Layout{{3, 3, 3, 3, 3, 3, 3}}));
  store.log.clear();
  record.SaveToSettings(store);
  EXPECT_EQ(store.log.back(), "W Layouts\\Count=0");
  EXPECT_EQ(store.values["Layouts\\Layout0"], "3|3|3|3|3|3|3|");
}

TEST(Layouts, NegativeOrHugeCountsReadNoRecords) {
  for (const char* count : {"-1", "-2147483648", "257", "2147483647", "$7FFFFFFF"}) {
    MemorySettings store;
    store.values = {{"Layouts\\Count", count}};
    ConfigData record;
    record.LoadFromSettings(store);
    EXPECT_EQ(record.LayoutCount, 0) << count;
    EXPECT_TRUE(record.Layouts.empty());
    EXPECT_LT(store.log.size(), 20u);
  }
  MemorySettings store;
  store.values = {{"Layouts\\Count", "256"}};
  ConfigData record;
  record.LoadFromSettings(store);
  EXPECT_EQ(record.LayoutCount, 256);
}

TEST(ConfigDataSetters, RaiseOnChangeOnlyForRealChanges) {
  ConfigData record;
  int changes = 0;
  record.OnChange = [&] { ++changes; };
  record.SetActive(true);
  record.SetAutoFollowMode(true);
  record.SetLastBufferSizeIndex(2);
  record.SetLastHistMaxLinesIndex(1);
  record.SetAutoCycle(false);
  record.SetLoadCompleteFile(false);
  record.SetLastCycleName("");
  EXPECT_EQ(changes, 0);
  record.SetLastCycleName("App");
  record.SetLastCycleName("app");  // case matters
  record.SetAutoCycle(true);
  record.SetLastBufferSizeIndex(5);
  record.SetLastHistMaxLinesIndex(0);
  record.SetAutoFollowMode(false);
  EXPECT_EQ(changes, 6);
  EXPECT_EQ(record.LastCycleName, "app");
}

TEST(ConfigDataSetters, CompleteLoadAndAutoTailExcludeEachOther) {
  ConfigData record;
  int changes = 0;
  record.OnChange = [&] { ++changes; };
  record.SetLoadCompleteFile(true);
  EXPECT_TRUE(record.LoadCompleteFile);
  EXPECT_FALSE(record.Active);
  EXPECT_EQ(changes, 1);
  record.SetActive(true);
  EXPECT_TRUE(record.Active);
  EXPECT_FALSE(record.LoadCompleteFile);
  EXPECT_EQ(changes, 2);
  record.SetActive(false);  // clearing one leaves the other alone
  EXPECT_FALSE(record.LoadCompleteFile);
  EXPECT_EQ(changes, 3);
}

TEST(ConfigDataEvents, UnboundEventsAreIgnoredAndRequestsPassTheCode) {
  ConfigData record;
  record.SetActive(false);
  record.RequestOptions(0);
  std::vector<std::int32_t> requests;
  record.OnOptionsRequest = [&](std::int32_t code) { requests.push_back(code); };
  record.RequestOptions(0);
  record.RequestOptions(1);
  EXPECT_EQ(requests, (std::vector<std::int32_t>{0, 1}));
}

}  // namespace
}  // namespace brontel
