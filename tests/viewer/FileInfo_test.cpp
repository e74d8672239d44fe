#include "viewer/FileInfo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileFacts.h"
#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

class FileInfoTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
};

TEST_F(FileInfoTest, SnapshotFillsEveryField) {
  const std::string path = folder_.Write("app.log", "0123456789");
  fileInfo info;
  ASSERT_TRUE(ReadFileInfo(path, info));
  EXPECT_EQ(info.path, path);
  EXPECT_EQ(info.sizeLow, 10u);
  EXPECT_EQ(info.sizeHigh, 0u);
  EXPECT_EQ(info.Size(), 10u);
  EXPECT_EQ(info.age, platform::FileAge(path));
  const std::uint64_t lastWrite = platform::FindFileFacts(path)->lastWrite;
  EXPECT_EQ(info.lastWriteLow, static_cast<std::uint32_t>(lastWrite));
  EXPECT_EQ(info.lastWriteHigh, static_cast<std::uint32_t>(lastWrite >> 32));
}

TEST_F(FileInfoTest, MissingFileLeavesTheSnapshotUntouched) {
  fileInfo info;
  info.path = "previous";
  info.sizeLow = 77;
  info.age = 1234;
  EXPECT_FALSE(ReadFileInfo(folder_.File("gone.log"), info));
  EXPECT_EQ(info.path, "previous");
  EXPECT_EQ(info.sizeLow, 77u);
  EXPECT_EQ(info.age, 1234);
}

TEST_F(FileInfoTest, HiddenFilesAndDirectoriesAreFound) {
  fileInfo info;
  EXPECT_TRUE(ReadFileInfo(folder_.Write(".app.log", "x"), info));
  EXPECT_EQ(info.sizeLow, 1u);
  EXPECT_TRUE(ReadFileInfo(folder_.Path().string(), info));
  EXPECT_EQ(info.age, -1);
}

TEST_F(FileInfoTest, LargeFilesSplitTheirSizeIntoHalves) {
  const std::string path = folder_.Write("big.log", "");
  fs::resize_file(path, (std::uint64_t{3} << 32) + 5);  // sparse
  fileInfo info;
  ASSERT_TRUE(ReadFileInfo(path, info));
  EXPECT_EQ(info.sizeHigh, 3u);
  EXPECT_EQ(info.sizeLow, 5u);
  EXPECT_EQ(info.Size(), (std::uint64_t{3} << 32) + 5);
}

TEST_F(FileInfoTest, GrowthAndTouchingChangeTheSnapshot) {
  const std::string path = folder_.Write("app.log", "one\n");
  fileInfo before;
  ASSERT_TRUE(ReadFileInfo(path, before));
  fileInfo again;
  ASSERT_TRUE(ReadFileInfo(path, again));
  EXPECT_TRUE(SameFileInfo(before, again));

  folder_.Append(path, "two\n");
  fileInfo grown;
  ASSERT_TRUE(ReadFileInfo(path, grown));
  EXPECT_FALSE(SameFileInfo(before, grown));

  // Same size, new last-write time.
  fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(3));
  fileInfo touched;
  ASSERT_TRUE(ReadFileInfo(path, touched));
  EXPECT_EQ(touched.Size(), grown.Size());
  EXPECT_FALSE(SameFileInfo(grown, touched));
}

TEST(SameFileInfo, ComparesPathSizeAndLastWriteButNotAge) {
  fileInfo a;
  a.path = "/logs/app.log";
  a.age = 100;
  a.sizeLow = 1;
  a.lastWriteLow = 2;
  a.lastWriteHigh = 3;
  fileInfo b = a;
  b.age = 999;
  EXPECT_TRUE(SameFileInfo(a, b));
  EXPECT_TRUE(SameFileInfo(fileInfo{}, fileInfo{}));

  const auto differs = [&](auto change) {
    fileInfo c = a;
    change(c);
    return !SameFileInfo(a, c) && !SameFileInfo(c, a);
  };
  EXPECT_TRUE(differs([](fileInfo& c) { c.path = "/logs/App.log"; }));
  EXPECT_TRUE(differs([](fileInfo& c) { c.sizeHigh = 1; }));
  EXPECT_TRUE(differs([](fileInfo& c) { c.sizeLow = 0; }));
  EXPECT_TRUE(differs([](fileInfo& c) { c.lastWriteLow = 0; }));
  EXPECT_TRUE(differs([](fileInfo& c) { c.lastWriteHigh = 0; }));
}

}  // namespace
}  // namespace brontel
