#include "platform/ReadOnlyFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/PlatformError.h"
#include "platform/WholeFile.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::platform {
namespace {

namespace fs = std::filesystem;

class ReadOnlyFileTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
};

TEST_F(ReadOnlyFileTest, ReadsAtOffsetsAndReportsEndOfFile) {
  const auto file = OpenReadOnlyFile(folder_.Write("a.log", "0123456789"));
  EXPECT_EQ(file->Size(), 10u);
  char buffer[8] = {};
  EXPECT_EQ(file->ReadAt(6, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(file->ReadAt(10, buffer, sizeof buffer), 0u);
  EXPECT_EQ(file->ReadAt(1000, buffer, sizeof buffer), 0u);
}

TEST_F(ReadOnlyFileTest, SeesTheFileGrowWhileOpen) {
  const std::string path = folder_.Write("a.log", "one\n");
  const auto file = OpenReadOnlyFile(path);
  folder_.Append(path, "two\n");
  EXPECT_EQ(file->Size(), 8u);
  char buffer[4];
  ASSERT_EQ(file->ReadAt(4, buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "two\n");
}

TEST_F(ReadOnlyFileTest, OpensReadOnlyFilesAndLeavesThemUnchanged) {
  const std::string path = folder_.Write("locked.log", "data");
  fs::permissions(path, fs::perms::owner_read);
  const auto before = fs::last_write_time(path);
  {
    const auto file = OpenReadOnlyFile(path);
    char buffer[4];
    EXPECT_EQ(file->ReadAt(0, buffer, 4), 4u);
  }
  EXPECT_EQ(fs::last_write_time(path), before);
  EXPECT_EQ(fs::file_size(path), 4u);
}

TEST_F(ReadOnlyFileTest, MissingFileFailsWithItsPath) {
  const std::string path = folder_.File("missing.log");
  try {
    OpenReadOnlyFile(path);
    FAIL() << "no error";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.path(), path);
    EXPECT_FALSE(error.reason().empty());
  }
  EXPECT_FALSE(fs::exists(path));  // never created
}

TEST_F(ReadOnlyFileTest, RefusesFifoWithoutBlockingAndDirectories) {
  const std::string fifo = folder_.File("pipe.log");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // No writer exists: a blocking open would hang this test forever.
  EXPECT_THROW(OpenReadOnlyFile(fifo), PlatformError);
  EXPECT_THROW(OpenReadOnlyFile(folder_.Path().string()), PlatformError);
  EXPECT_THROW(OpenReadOnlyFile("/dev/null"), PlatformError);
  EXPECT_THROW(ReadWholeFile(fifo), PlatformError);
}

TEST_F(ReadOnlyFileTest, ReadsBeyondTheFourGibibyteMark) {
  const std::string path = folder_.Write("huge.log", "");
  const std::uint64_t size = (std::uint64_t{1} << 32) + 10;
  fs::resize_file(path, size);  // sparse
  {
    std::fstream stream(path, std::ios::in | std::ios::out | std::ios::binary);
    stream.seekp(static_cast<std::streamoff>(size - 4));
    stream << "tail";
  }
  const auto file = OpenReadOnlyFile(path);
  EXPECT_EQ(file->Size(), size);
  char buffer[8] = {};
  EXPECT_EQ(file->ReadAt(size - 4, buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "tail");
}

TEST_F(ReadOnlyFileTest, WholeFileKeepsEveryByte) {
  const std::string content(
      "a\r\nb\0c\x1A"
      "d",
      9);
  EXPECT_EQ(ReadWholeFile(folder_.Write("w.log", content)), content);
  EXPECT_EQ(ReadWholeFile(folder_.Write("empty.log", "")), "");
  EXPECT_THROW(ReadWholeFile(folder_.File("missing.log")), PlatformError);
}

}  // namespace
}  // namespace brontel::platform
