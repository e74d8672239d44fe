#include "ui/ChunkedArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace brontel::ui {
namespace {

// Small chunks, so the walk crosses many: every element where it was put, every run in order.
TEST(ChunkedArrayTest, ElementsAndRunsAcrossChunks) {
  ChunkedArray<std::uint32_t, 64> array;  // 16 elements a chunk
  for (std::uint32_t i = 0; i < 1000; ++i)
    array.push_back(i * 7);
  ASSERT_EQ(array.size(), 1000u);
  for (std::uint32_t i = 0; i < 1000; ++i)
    ASSERT_EQ(array[i], i * 7) << i;
  std::vector<std::uint32_t> walked;
  std::size_t runs = 0;
  array.ForEachRun(13, 70, [&](const std::uint32_t* run, std::size_t count) {
    walked.insert(walked.end(), run, run + count);
    ++runs;
  });
  ASSERT_EQ(walked.size(), 57u);
  EXPECT_EQ(walked.front(), 13u * 7);
  EXPECT_EQ(walked.back(), 69u * 7);
  EXPECT_EQ(runs, 5u);  // 13-15, 16-31, 32-47, 48-63, 64-69
  array.truncate(20);   // into the second chunk; what comes next takes the dropped places
  array.push_back(1);
  EXPECT_EQ(array.size(), 21u);
  EXPECT_EQ(array.back(), 1u);
  EXPECT_EQ(array[19], 19u * 7);
}

}  // namespace
}  // namespace brontel::ui
