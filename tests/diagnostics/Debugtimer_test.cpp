#include "diagnostics/Debugtimer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "tests/support/ScratchHome.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

// A clock the test moves by hand.
class ManualClock final : public platform::Clock {
 public:
  std::uint32_t TickCount() const override { return ticks; }
  platform::DateTime Now() const override { return now; }

  std::uint32_t ticks = 5000;
  platform::DateTime now{2026, 12, 8, 6, 0, 0, 7};
};

// The process-wide log is pointed at "procedures.log" in a fresh configuration directory before
// any test runs, with an old log already there, so the first use of the log can be checked.
class LogEnvironment : public testing::ScratchHome {
 public:
  void SetUp() override {
    ScratchHome::SetUp();
    fs::create_directories(Folder().Path() / "brontel");
    Folder().Write("brontel/procedures.log", "left by an earlier process\n");
    ::setenv("LC_ALL", "C", 1);
  }
};

const auto* const kEnvironment =
    static_cast<LogEnvironment*>(::testing::AddGlobalTestEnvironment(new LogEnvironment));

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line);
  return lines;
}

class DebugTimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetFileManager().SetClock(clock_);
    GetFileManager().SetPath(log_.string());
  }
  void TearDown() override {
    GetFileManager().SetClock(platform::SystemClock());
    GetFileManager().SetPath("");
  }

  // The log's lines after the header.
  std::vector<std::string> Entries() const {
    std::vector<std::string> lines = ReadLines(log_);
    if (!lines.empty())
      lines.erase(lines.begin());
    return lines;
  }

  ManualClock clock_;
  testing::ScratchFolder folder_;
  // In a folder not made yet.
  fs::path dir_ = folder_.Path() / "logs";
  fs::path log_ = dir_ / "procedures.log";
};

TEST(FileManagerFirstUse, ReplacesTheOldLogInTheProgramDirectory) {
  FileManager& log = GetFileManager();
  EXPECT_EQ(&log, &GetFileManager());
  // Whichever test ran first made the first call; the old content is gone either way.
  const std::vector<std::string> lines =
      ReadLines(kEnvironment->Folder().Path() / "brontel" / "procedures.log");
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find("\tDatei wird erzeugt: "), std::string::npos);
  for (const std::string& line : lines)
    EXPECT_EQ(line.find("earlier process"), std::string::npos);
}

TEST_F(DebugTimerTest, StartingTheFileWritesTheHeaderInTheLocaleFormat) {
  const std::vector<std::string> lines = ReadLines(log_);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "12/08/26 06:00:00\tDatei wird erzeugt: ");
  EXPECT_TRUE(fs::is_directory(dir_));  // created on the way
}

TEST_F(DebugTimerTest, OneTimedProcedureWritesMatchingEntryAndExitLines) {
  const int count = DebugTimer::CreatedCount() + 1;
  {
    const DebugTimer timer("LoadTail");
    clock_.ticks += 12;
    clock_.now.millisecond = 19;
  }
  const std::string number = std::to_string(count);
  EXPECT_EQ(Entries(), (std::vector<std::string>{
                           "2026/12/08 06:00:00,007\t> " + number + " LoadTail",
                           "2026/12/08 06:00:00,019\t< " + number + " LoadTail\t [12]",
                       }));
}

TEST_F(DebugTimerTest, NestedTimersMarkTheirLevelAndTheOuterExitCarriesTheInnerCount) {
  const int outer = DebugTimer::CreatedCount() + 1;
  {
    const DebugTimer timer("Outer");
    clock_.ticks += 3;
    {
      const DebugTimer inner("Inner");
      clock_.ticks += 4;
    }
    clock_.ticks += 1;
  }
  const std::string o = std::to_string(outer);
  const std::string i = std::to_string(outer + 1);
  const std::string stamp = "2026/12/08 06:00:00,007\t";
  EXPECT_EQ(Entries(), (std::vector<std::string>{
                           stamp + "> " + o + " Outer",
                           stamp + "> " + i + " +Inner",
                           stamp + "< " + i + " +Inner\t [4]",
                           stamp + "< " + i + " Outer\t [8]",
                       }));
}

TEST_F(DebugTimerTest, ElapsedTimeIsZeroWithinOneTickAndSurvivesTheCounterWrap) {
  { const DebugTimer quick("Quick"); }
  clock_.ticks = 0xFFFFFFF0u;
  {
    const DebugTimer wrapping("Wrapping");
    clock_.ticks = 0x10u;
  }
  const std::vector<std::string> lines = Entries();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(lines[1].ends_with("Quick\t [0]")) << lines[1];
  EXPECT_TRUE(lines[3].ends_with("Wrapping\t [32]")) << lines[3];
}

TEST_F(DebugTimerTest, TimestampsUseFixedWidthFields) {
  EXPECT_EQ(LogTimestamp(platform::DateTime{2027, 1, 2, 3, 4, 5, 6}, '.', ':'),
            "2027.01.02 03:04:05,006");
  EXPECT_EQ(LogTimestamp(platform::DateTime{2027, 11, 12, 23, 59, 58, 999}, '/', '.'),
            "2027/11/12 23.59.58,999");
}

TEST_F(DebugTimerTest, SamePathKeepsTheFileAndAnotherPathStartsAFreshOne) {
  GetFileManager().WriteLine("kept");
  GetFileManager().SetPath(log_.string());
  EXPECT_EQ(ReadLines(log_).size(), 2u);

  const fs::path other = dir_ / "other.log";
  GetFileManager().SetPath(other.string());
  EXPECT_EQ(GetFileManager().GetPath(), other.string());
  EXPECT_EQ(ReadLines(other).size(), 1u);
  EXPECT_EQ(ReadLines(log_).size(), 2u);  // the old file is left alone
}

TEST_F(DebugTimerTest, EmptyPathWritesNothing) {
  GetFileManager().SetPath("");
  { const DebugTimer timer("Silent"); }
  EXPECT_EQ(ReadLines(log_).size(), 1u);  // just the header from SetUp
}

TEST_F(DebugTimerTest, UnwritableLogIsSilentAndTheNextLineTriesAgain) {
  fs::remove(log_);
  fs::create_directory(log_);  // a directory where the file should be
  const int before = DebugTimer::CreatedCount();
  { const DebugTimer timer("Lost"); }
  EXPECT_EQ(DebugTimer::CreatedCount(), before + 1);
  fs::remove(log_);
  GetFileManager().WriteLine("back");
  EXPECT_EQ(ReadLines(log_), (std::vector<std::string>{"back"}));
}

TEST(FileManager, StandaloneInstanceAppendsWithOneOpenPerLine) {
  const testing::ScratchFolder folder;
  const fs::path dir = folder.Path() / "logs";
  ManualClock clock;
  FileManager manager(clock);
  EXPECT_EQ(manager.GetPath(), "");
  manager.WriteLine("nowhere");  // empty path: nothing happens
  manager.SetPath((dir / "procedures.log").string());
  manager.WriteLine("first");
  // Every line is in the file as soon as the call returns.
  EXPECT_EQ(ReadLines(dir / "procedures.log").back(), "first");
  manager.StartFile();
  EXPECT_EQ(ReadLines(dir / "procedures.log").size(), 1u);
}

}  // namespace
}  // namespace brontel
