#include "viewer/GramFilter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace brontel {
namespace {

std::string RandomText(std::mt19937& random, std::size_t length, const char* alphabet,
                       std::size_t letters) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i)
    text += alphabet[random() % letters];
  return text;
}

TEST(GramFilter, EveryPieceOfAddedTextMayOccurAndShortTextsAlwaysMay) {
  std::mt19937 random(7);
  GramFilter filter(20000);
  const std::string first = RandomText(random, 9000, "abcdefgh\r\n", 10);
  const std::string second = RandomText(random, 9000, "abcdefgh\r\n", 10);
  filter.Add(first);
  filter.Add(second);
  for (int i = 0; i < 2000; ++i) {
    const std::string& source = i % 2 ? first : second;
    const std::size_t length = 8 + random() % 60;
    const std::size_t start = random() % (source.size() - length);
    ASSERT_TRUE(filter.MayContain(std::string_view(source).substr(start, length)));
  }
  EXPECT_TRUE(filter.MayContain("zzzzzzz"));  // shorter than one run: cannot tell
  EXPECT_TRUE(filter.MayContain(""));
}

TEST(GramFilter, TextsWithUnseenRunsAreMostlyRejected) {
  std::mt19937 random(8);
  GramFilter filter(100000);
  filter.Add(RandomText(random, 100000, "0123456789", 10));
  int rejected = 0;
  for (int i = 0; i < 1000; ++i)
    rejected += filter.MayContain("E\t#" + RandomText(random, 12, "xyz", 3)) ? 0 : 1;
  EXPECT_GT(rejected, 990);
  // Runs that lie across two added pieces were never added.
  GramFilter pieces(1000);
  pieces.Add("abcdefgh");
  pieces.Add("ijklmnop");
  EXPECT_TRUE(pieces.MayContain("abcdefgh"));
  EXPECT_FALSE(pieces.MayContain("efghijkl"));
}

TEST(GramFilter, SaturatesOnceFarMoreThanExpectedWasAdded) {
  GramFilter filter(1000);  // the smallest filter: 65536 bits
  std::mt19937 random(9);
  EXPECT_FALSE(filter.Saturated());
  filter.Add(RandomText(random, 16000, "abcdefghijklmnop", 16));
  EXPECT_FALSE(filter.Saturated());
  filter.Add(RandomText(random, 2000, "abcdefghijklmnop", 16));
  EXPECT_TRUE(filter.Saturated());
}

}  // namespace
}  // namespace brontel
