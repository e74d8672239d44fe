#include "platform/IniFileNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brontel::platform {
namespace {

TEST(ParseIniInteger, DecimalWithinThirtyTwoBits) {
  EXPECT_EQ(ParseIniInteger("0"), 0);
  EXPECT_EQ(ParseIniInteger("-5"), -5);
  EXPECT_EQ(ParseIniInteger("+7"), 7);
  EXPECT_EQ(ParseIniInteger("007"), 7);
  EXPECT_EQ(ParseIniInteger("2147483647"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseIniInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("-2147483649"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("99999999999999999999999"), std::nullopt);
}

TEST(ParseIniInteger, HexadecimalPrefixesAndWrap) {
  EXPECT_EQ(ParseIniInteger("0x1F"), 31);
  EXPECT_EQ(ParseIniInteger("0XfF"), 255);
  EXPECT_EQ(ParseIniInteger("$10"), 16);
  EXPECT_EQ(ParseIniInteger("-$10"), -16);
  EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseIniInteger("$80000000"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseIniInteger("$100000000"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("0x"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("$"), std::nullopt);
}

TEST(ParseIniInteger, RefusesAnythingButTheNumber) {
  for (const char* text :
       {"", " 1", "1 ", "1a", "--1", "+-1", "-+1", "1.0", "a", "-", "+", "0x-1", "$+1", "1e3"}) {
    EXPECT_EQ(ParseIniInteger(text), std::nullopt) << "'" << text << "'";
  }
}

TEST(IniFloat, RoundTripsAndRefusesGarbage) {
  for (double value : {0.0, 1.5, -2e-7, 1e300, 0.1, 3.0}) {
    EXPECT_EQ(ParseIniFloat(FormatIniFloat(value)), value) << FormatIniFloat(value);
  }
  EXPECT_EQ(FormatIniFloat(3.0), "3");
  EXPECT_EQ(FormatIniFloat(0.25), "0.25");
  EXPECT_EQ(ParseIniFloat("+2.5"), 2.5);
  EXPECT_EQ(ParseIniFloat("1E3"), 1000.0);
  for (const char* text : {"", "1,5", " 1", "1 ", "+-1", "x", "+"}) {
    EXPECT_EQ(ParseIniFloat(text), std::nullopt) << "'" << text << "'";
  }
}

}  // namespace
}  // namespace brontel::platform
