#include "viewer/OptionTables.h"

#include <gtest/gtest.h>

#include <string>

namespace brontel {
namespace {

TEST(BufferSizes, ItemsAreKibibyteMultiplesWithTheirTexts) {
  EXPECT_EQ(BufferSizeAt(0), 5120);
  EXPECT_EQ(BufferSizeAt(5), 256000);  // "250 KB" is 250 * 1024
  EXPECT_EQ(std::string(BufferSizes[5].text), "250 KB");
  EXPECT_EQ(BufferSizeAt(6), 1048576);
  EXPECT_EQ(std::string(BufferSizes[6].text), "1 MB");
  for (const OptionChoice& choice : BufferSizes)
    EXPECT_EQ(choice.value % 1024, 0);
}

TEST(MaxHistoryLines, UnlimitedIsOneHundredMillion) {
  EXPECT_EQ(MaxHistoryLinesAt(0), 100);
  EXPECT_EQ(std::string(MaxHistoryLines[1].text), "1 000");
  EXPECT_EQ(MaxHistoryLinesAt(4), 100000000);
  EXPECT_EQ(std::string(MaxHistoryLines[4].text), "unlimited");
}

TEST(OptionTables, IndexOutsideTheListGivesTheDefaultItem) {
  EXPECT_EQ(BufferSizeAt(-1), 20480);
  EXPECT_EQ(BufferSizeAt(7), 20480);
  EXPECT_EQ(MaxHistoryLinesAt(5), 1000);
  EXPECT_EQ(MaxHistoryLinesAt(-100), 1000);
}

}  // namespace
}  // namespace brontel
