#include "platform/LargePages.h"

#include <gtest/gtest.h>

#include <string>

namespace brontel::platform {
namespace {

// A hint only: a filled buffer keeps its bytes, and block sizes never shrink.
TEST(LargePages, TheHintKeepsTheBufferAndTheBlockItsSize) {
  std::string buffer;
  buffer.reserve(LargePageBlockSize((16 << 20) + 1) - 1);
  for (int i = 0; buffer.size() < (12 << 20); ++i)
    buffer += std::to_string(i);
  const std::string before = buffer;
  AdviseLargePages(buffer.data(), buffer.capacity());
  AdviseLargePages(buffer.data() + 1, 4096);
  EXPECT_EQ(buffer, before);
  for (const std::size_t bytes : {std::size_t{0}, std::size_t{100}, std::size_t{5} << 20,
                                  (std::size_t{8} << 20) - 64, std::size_t{1} << 30})
    EXPECT_GE(LargePageBlockSize(bytes), bytes);
  EXPECT_EQ(LargePageBlockSize(100), 100u);
}

}  // namespace
}  // namespace brontel::platform
