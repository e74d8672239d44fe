#include "settings/LogParserDef.h"

#include <gtest/gtest.h>

#include "settings/ConfigData.h"
#include "settings/ExtMgr.h"
#include "tests/settings/SettingsFileTest.h"
#include "tests/support/MemorySettings.h"

namespace brontel {
namespace {

using Set = LogParserDef::ColParserDefSet;
using Column = LogParserDef::ColParserDef;

class LogParserDefTest : public testing::SettingsFileTest {
 protected:
  ExtMgr store_;
};

TEST_F(LogParserDefTest, NoDefinitionsNoSets) {
  Put("[Preferences]\r\nOptions.Active=1\r\n");
  LogParserDef def;
  def.LoadColumnSets(store_);
  EXPECT_EQ(def.ColumnSetCount, 0);
  EXPECT_TRUE(def.ColumnSets.empty());
}

TEST_F(LogParserDefTest, ReadsSetsAndTheirColumns) {
  Put("[ColumnsDefs]\r\nCount=2\r\nItem1=Web\r\n"
      "[Web]\r\nName=Web server\r\nDelimiter= | \r\nStaticWidth=5\r\nColumnCount=2\r\n"
      "[Web.Column.0]\r\nName=Time\r\nType=1\r\nWidth=20\r\n"
      "[Web.Column.1]\r\nName=Text\r\nType=x\r\n");
  LogParserDef def;
  def.LoadColumnSets(store_);
  ASSERT_EQ(def.ColumnSetCount, 2);
  ASSERT_EQ(def.ColumnSets.size(), 2u);
  EXPECT_EQ(def.ColumnSets[0], Set{});
  const Set& web = def.ColumnSets[1];
  EXPECT_EQ(web.Name, "Web server");
  EXPECT_EQ(web.Delimiter, "|");
  EXPECT_TRUE(web.StaticWidth);
  ASSERT_EQ(web.ColumnCount, 2);
  EXPECT_EQ(web.Columns, (std::vector<Column>{{"Time", 1, 20}, {"Text", 0, 0}}));
}

TEST_F(LogParserDefTest, AMissingColumnCountMeansNoColumns) {
  Put("[ColumnsDefs]\r\nCount=1\r\nItem0=Csv\r\n[Csv]\r\nName=csv\r\n"
      "[Csv.Column.0]\r\nName=A\r\n");
  LogParserDef def;
  def.LoadColumnSets(store_);
  ASSERT_EQ(def.ColumnSetCount, 1);
  EXPECT_EQ(def.ColumnSets[0].Name, "csv");
  EXPECT_EQ(def.ColumnSets[0].ColumnCount, 0);
  EXPECT_TRUE(def.ColumnSets[0].Columns.empty());
}

TEST_F(LogParserDefTest, LoadingAgainReplacesTheSets) {
  Put("[ColumnsDefs]\r\nCount=1\r\nItem0=A\r\n[A]\r\nName=first\r\n");
  LogParserDef def;
  def.LoadColumnSets(store_);
  Put("[ColumnsDefs]\r\nCount=1\r\nItem0=B\r\n[B]\r\nName=second\r\n");
  def.LoadColumnSets(store_);
  ASSERT_EQ(def.ColumnSets.size(), 1u);
  EXPECT_EQ(def.ColumnSets[0].Name, "second");
}

TEST_F(LogParserDefTest, AnIdentifierWithABackslashIsSplitLikeAnyKeyPath) {
  Put("[ColumnsDefs]\r\nCount=1\r\nItem0=Top\\Sub\r\n[Top]\r\nSub.Name=nested\r\n");
  LogParserDef def;
  def.LoadColumnSets(store_);
  EXPECT_EQ(def.ColumnSets[0].Name, "nested");
}

TEST_F(LogParserDefTest, SavingTheOptionsLeavesTheDefinitionsAlone) {
  const std::string definitions =
      "[ColumnsDefs]\r\nCount=1\r\nItem0=A\r\n[A]\r\nName=a\r\nColumnCount=1\r\n"
      "[A.Column.0]\r\nName=c\r\n";
  Put(definitions);
  ConfigData record;
  record.LoadFromSettings(store_);
  ASSERT_EQ(record.ColumnSetCount, 1);
  record.ColumnSets[0].Name = "changed";
  record.SaveToSettings(store_);
  EXPECT_EQ(Bytes().substr(0, definitions.size()), definitions);
}

TEST(LogParserDefBounds, NegativeOrHugeCountsStayBounded) {
  for (const char* count : {"-1", "257", "2147483647", "-2147483648"}) {
    testing::MemorySettings store;
    store.values = {{"ColumnsDefs\\Count", count}};
    LogParserDef def;
    def.LoadColumnSets(store);
    EXPECT_EQ(def.ColumnSetCount, 0) << count;
    EXPECT_EQ(store.log.size(), 1u);
  }
  testing::MemorySettings store;
  store.values = {{"ColumnsDefs\\Count", "2"},
                  {"ColumnsDefs\\Item0", "A"},
                  {"A\\ColumnCount", "2147483647"},
                  {"ColumnsDefs\\Item1", "B"},
                  {"B\\ColumnCount", "-5"}};
  LogParserDef def;
  def.LoadColumnSets(store);
  ASSERT_EQ(def.ColumnSetCount, 2);
  EXPECT_EQ(def.ColumnSets[0].ColumnCount, 0);
  EXPECT_EQ(def.ColumnSets[1].ColumnCount, 0);
}

TEST(LogParserDefBounds, ColumnsAcrossAllSetsAreLimited) {
  testing::MemorySettings store;
  store.values = {{"ColumnsDefs\\Count", "256"}};
  for (int j = 0; j < 256; ++j)
    store.values["ColumnsDefs\\Item" + std::to_string(j)] = "S";
  store.values["S\\ColumnCount"] = "256";
  LogParserDef def;
  def.LoadColumnSets(store);
  std::int32_t total = 0;
  for (const auto& set : def.ColumnSets) {
    EXPECT_EQ(set.ColumnCount, static_cast<std::int32_t>(set.Columns.size()));
    total += set.ColumnCount;
  }
  EXPECT_EQ(total, LogParserDef::kMaxColumnsTotal);
  EXPECT_EQ(def.ColumnSets[0].ColumnCount, 256);
  EXPECT_EQ(def.ColumnSets[255].ColumnCount, 0);
}

}  // namespace
}  // namespace brontel
