#include "platform/LargeBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace brontel::platform {
namespace {

// Small blocks from the heap and large ones mapped: each holds what was asked for, written to
// its last byte, and a move hands the memory over without a copy.
TEST(LargeBlockTest, HoldsTheBytesAskedForAndMovesWithoutACopy) {
  for (const std::size_t bytes : {std::size_t{1}, std::size_t{4096}, (std::size_t{1} << 20) - 1,
                                  std::size_t{1} << 20, (std::size_t{5} << 20) + 3}) {
    LargeBlock block(bytes);
    ASSERT_GE(block.Size(), bytes);
    std::memset(block.Data(), 'x', block.Size());
    const char* const data = block.Data();
    LargeBlock moved(std::move(block));
    EXPECT_EQ(moved.Data(), data);
    EXPECT_EQ(moved.Data()[bytes - 1], 'x');
    EXPECT_EQ(block.Data(), nullptr);
  }
}

}  // namespace
}  // namespace brontel::platform
