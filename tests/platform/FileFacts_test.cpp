#include "platform/FileFacts.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>

#include "platform/DateTime.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::platform {
namespace {

namespace fs = std::filesystem;

class FileFactsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }

  // Sets the file's modification time to `seconds` since 1970 plus `nanoseconds`.
  static void SetModified(const std::string& path, time_t seconds, long nanoseconds) {
    struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }

  testing::ScratchFolder folder_;
};

TEST(FileTimeFromUnixTime, CountsHundredNanosecondsSince1601) {
  EXPECT_EQ(FileTimeFromUnixTime(0, 0), 116444736000000000ull);
  EXPECT_EQ(FileTimeFromUnixTime(1, 250), 116444736010000002ull);
  EXPECT_EQ(FileTimeFromUnixTime(-11644473601, 0), 0u);
}

TEST_F(FileFactsTest, RegularFileReportsSizeAndLastWrite) {
  const std::string path = folder_.Write("app.log", "hello\n");
  SetModified(path, 1796709600, 123456789);  // 2026-12-08 06:00:00.123456789 UTC
  const std::optional<FileFacts> facts = FindFileFacts(path);
  ASSERT_TRUE(facts.has_value());
  EXPECT_EQ(facts->size, 6u);
  EXPECT_FALSE(facts->isDirectory);
  EXPECT_EQ(facts->lastWrite, FileTimeFromUnixTime(1796709600, 123456789));
  EXPECT_EQ(facts->lastWrite % 10, 7u);  // sub-microsecond digits survive
}

TEST_F(FileFactsTest, AgeIsLocalDosTimeWithTwoSecondResolution) {
  const std::string path = folder_.Write("app.log", "x");
  SetModified(path, 1796709600 + 7, 0);  // 06:00:07 UTC, and TZ is UTC here
  const std::optional<DateTime> age = LocalFromDosDateTime(FileAge(path));
  ASSERT_TRUE(age.has_value());
  EXPECT_EQ(*age, (DateTime{2026, 12, 8, 6, 0, 6, 0}));

  ::setenv("TZ", "UTC-2", 1);  // two hours east of UTC
  ::tzset();
  EXPECT_EQ(LocalFromDosDateTime(FileAge(path))->hour, 8);
}

TEST_F(FileFactsTest, AgeOutside1980To2107IsMinusOneButTheLastWriteTimeStillConverts) {
  const std::string path = folder_.Write("old.log", "x");
  SetModified(path, 0, 250'000'000);
  EXPECT_EQ(FileAge(path), -1);
  const std::optional<FileFacts> facts = FindFileFacts(path);  // the search still finds it
  ASSERT_TRUE(facts.has_value());
  EXPECT_EQ(LocalFromFileTime(facts->lastWrite), (DateTime{1970, 1, 1, 0, 0, 0, 250}));
  SetModified(path, 7258118401, 0);  // 2200-01-01 00:00:01 UTC
  EXPECT_EQ(FileAge(path), -1);
  ::setenv("TZ", "UTC+1", 1);  // one hour west of UTC
  ::tzset();
  EXPECT_EQ(LocalFromFileTime(FindFileFacts(path)->lastWrite),
            (DateTime{2199, 12, 31, 23, 0, 1, 0}));
  EXPECT_FALSE(LocalFromFileTime(~std::uint64_t{0} >> 1).has_value());  // beyond year 9999
}

TEST_F(FileFactsTest, DotFilesAreOrdinaryFiles) {
  const std::string path = folder_.Write(".hidden.log", "abc");
  ASSERT_TRUE(FindFileFacts(path).has_value());
  EXPECT_EQ(FindFileFacts(path)->size, 3u);
  EXPECT_NE(FileAge(path), -1);
}

TEST_F(FileFactsTest, DirectoriesAreFoundButHaveNoAge) {
  const std::optional<FileFacts> facts = FindFileFacts(folder_.Path().string());
  ASSERT_TRUE(facts.has_value());
  EXPECT_TRUE(facts->isDirectory);
  EXPECT_EQ(facts->size, 0u);
  EXPECT_EQ(FileAge(folder_.Path().string()), -1);
}

TEST_F(FileFactsTest, MissingPathsAreNotFound) {
  EXPECT_FALSE(FindFileFacts(folder_.File("missing.log")).has_value());
  EXPECT_EQ(FileAge(folder_.File("missing.log")), -1);
  EXPECT_FALSE(FindFileFacts("").has_value());
  EXPECT_EQ(FileAge(""), -1);
  // A file used as a directory part.
  const std::string file = folder_.Write("plain", "x");
  EXPECT_FALSE(FindFileFacts(file + "/inner.log").has_value());
}

TEST_F(FileFactsTest, WildcardsAreOrdinaryCharacters) {
  folder_.Write("a1.log", "x");
  EXPECT_FALSE(FindFileFacts(folder_.File("a?.log")).has_value());
  EXPECT_FALSE(FindFileFacts(folder_.File("*.log")).has_value());
  const std::string starred = folder_.Write("*.log", "xy");
  EXPECT_EQ(FindFileFacts(starred)->size, 2u);
}

TEST_F(FileFactsTest, SizesBeyondFourGibibytesAreExact) {
  const std::string path = folder_.Write("huge.log", "");
  const std::uint64_t size = (std::uint64_t{1} << 32) + 4321;
  fs::resize_file(path, size);  // sparse: costs no disk space
  EXPECT_EQ(FindFileFacts(path)->size, size);
}

}  // namespace
}  // namespace brontel::platform
