// A settings file that is damaged, enormous or not a file at all must give defaults or a clean
// error: never a crash, a hang or an unbounded allocation.
#include <gtest/gtest.h>

#include <random>

#include "platform/PlatformError.h"
#include "settings/ConfigData.h"
#include "settings/ExtMgr.h"
#include "tests/settings/SettingsFileTest.h"

namespace brontel {
namespace {

class BadSettingsFileTest : public testing::SettingsFileTest {
 protected:
  ConfigData Load() {
    ConfigData record;
    record.LoadFromSettings(store_);
    return record;
  }
  ExtMgr store_;
};

TEST_F(BadSettingsFileTest, BinaryNoiseLoadsDefaults) {
  std::mt19937 random(1234);
  std::string noise(256 * 1024, '\0');
  for (char& c : noise)
    c = static_cast<char>(random());
  Put(noise);
  const ConfigData record = Load();
  EXPECT_EQ(record.LastBufferSizeIndex, 2);
  EXPECT_EQ(record.AssociatedExts, ".logs");
  store_.Load();
  record.SaveToSettings(store_);  // the noise around the new section survives
  EXPECT_EQ(Bytes().substr(0, noise.size()), noise);
  EXPECT_EQ(store_.ReadInteger("Options.LastBufferSizeIndex", 0), 2);
}

TEST_F(BadSettingsFileTest, TruncatedFileReadsWhatIsThere) {
  Put("[Preferences]\r\nOptions.WindowState=3\r\nOptions.LastFolder=/va");
  EXPECT_EQ(Load().LastFolder, "/va");
  Put("[Preferences]\r\nOptions.WindowState=3\r\n[Layo");
  const ConfigData record = Load();
  EXPECT_EQ(record.WindowState, 3);
  EXPECT_EQ(record.LayoutCount, 0);
}

TEST_F(BadSettingsFileTest, ADirectoryInPlaceOfTheFile) {
  std::filesystem::create_directory(path_);
  const ConfigData record = Load();
  EXPECT_TRUE(record.Active);
  store_.Load();
  EXPECT_TRUE(store_.Associations.empty());
  EXPECT_THROW(record.SaveToSettings(store_), platform::PlatformError);
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(BadSettingsFileTest, MegabyteLinesAreSkippedOrCut) {
  std::string text = "[Preferences]\r\n";
  text += std::string(1 << 20, 'k') + "\r\n";
  text += "Options.LastCycleName=" + std::string(1 << 20, 'n') + "\r\n";
  text += "Options.WindowState=" + std::string(1 << 20, '9') + "\r\n";
  text += "Options.StayOnTop=1\r\n";
  Put(text);
  const ConfigData record = Load();
  EXPECT_EQ(record.LastCycleName, std::string(2047, 'n'));
  EXPECT_EQ(record.WindowState, 0);  // too large for an integer
  EXPECT_TRUE(record.StayOnTop);
}

TEST_F(BadSettingsFileTest, FiftyMegabytesLoadAndSave) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << "[Noise]\r\n";
    const std::string line = "key=" + std::string(96, 'v') + "\r\n";
    for (std::size_t written = 0; written < (50u << 20); written += line.size())
      out << line;
    out << "[Layouts]\r\nCount=2\r\nLayout1=1|2|3|4|5|6|7|\r\n";
  }
  ConfigData record = Load();
  ASSERT_EQ(record.LayoutCount, 2);
  EXPECT_EQ(record.Layouts[1].Values[6], 7);
  record.SetAutoCycle(true);
  record.SaveToSettings(store_);
  EXPECT_TRUE(Load().AutoCycle);
  EXPECT_GT(std::filesystem::file_size(path_), 50u << 20);
}

TEST_F(BadSettingsFileTest, HugeCountsInTheFile) {
  Put("[Layouts]\r\nCount=2000000000\r\n[ColumnsDefs]\r\nCount=-7\r\n");
  ConfigData record = Load();
  EXPECT_EQ(record.LayoutCount, 0);
  EXPECT_EQ(record.ColumnSetCount, 0);
  Put("[ColumnsDefs]\r\nCount=1\r\nItem0=A\r\n[A]\r\nColumnCount=$7FFFFFFF\r\n");
  record = Load();
  ASSERT_EQ(record.ColumnSetCount, 1);
  EXPECT_EQ(record.ColumnSets[0].ColumnCount, 0);
}

}  // namespace
}  // namespace brontel
