#include "platform/BlockCache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/ScratchFolder.h"

namespace brontel::platform {
namespace {

std::string Pattern(std::size_t size) {
  std::string text(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
  return text;
}

TEST(BlockCacheTest, StretchesAcrossBlocksEqualTheFileAndOnlyTheLimitIsHeld) {
  testing::ScratchFolder folder;
  const std::string content = Pattern(5 * BlockCache::kBlockSize + 123);
  const std::string path = folder.Write("big.log", content);
  BlockCache cache(OpenReadOnlyFile(path), 3);
  for (const std::uint64_t offset : {std::uint64_t{0}, std::uint64_t{65530}, std::uint64_t{200000},
                                     std::uint64_t{content.size() - 10}}) {
    std::string out;
    const std::size_t got = cache.Read(offset, 70000, out);
    EXPECT_EQ(out, content.substr(static_cast<std::size_t>(offset), 70000));
    EXPECT_EQ(got, out.size());
    EXPECT_LE(cache.BlocksHeld(), 3u);
  }
  std::string none;
  EXPECT_EQ(cache.Read(content.size() + 5, 10, none), 0u);
}

TEST(BlockCacheTest, AFileCutShortUnderTheCacheGivesShortReadsNotStaleOnes) {
  testing::ScratchFolder folder;
  const std::string path = folder.Write("cut.log", Pattern(3 * BlockCache::kBlockSize));
  BlockCache cache(OpenReadOnlyFile(path), 8);
  std::string out;
  cache.Read(0, 10, out);
  std::filesystem::resize_file(path, 100);
  cache.Forget();
  out.clear();
  EXPECT_EQ(cache.Read(2 * BlockCache::kBlockSize, 50, out), 0u);
  EXPECT_EQ(cache.Read(90, 50, out), 10u);
}

}  // namespace
}  // namespace brontel::platform
