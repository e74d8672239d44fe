#include "viewer/FileSizeText.h"

#include <gtest/gtest.h>

namespace brontel {
namespace {

TEST(FormatFileSize, BytesUpTo10239) {
  EXPECT_EQ(FormatFileSize(0), "0 Bytes");
  EXPECT_EQ(FormatFileSize(1024), "1024 Bytes");
  EXPECT_EQ(FormatFileSize(3000), "3000 Bytes");
  EXPECT_EQ(FormatFileSize(10239), "10239 Bytes");
}

TEST(FormatFileSize, KilobytesFrom10240WithOneDecimal) {
  EXPECT_EQ(FormatFileSize(10240), "10.0 KB");
  EXPECT_EQ(FormatFileSize(12595), "12.3 KB");
  EXPECT_EQ(FormatFileSize(1048575), "1024.0 KB");  // rounds up but stays in KB
}

TEST(FormatFileSize, MegabytesAndGigabytesWithTwoDecimals) {
  EXPECT_EQ(FormatFileSize(1048576), "1.00 MB");
  EXPECT_EQ(FormatFileSize(1073741823), "1024.00 MB");
  EXPECT_EQ(FormatFileSize(1073741824), "1.00 GB");
  EXPECT_EQ(FormatFileSize(5.0 * 1073741824), "5.00 GB");
  EXPECT_EQ(FormatFileSize(4294967296.0 + 1073741824.0), "5.00 GB");  // beyond 32 bits
}

}  // namespace
}  // namespace brontel
