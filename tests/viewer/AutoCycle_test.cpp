#include "viewer/AutoCycle.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace brontel {
namespace {

// A series of files by name with their ages; missing names do not exist.
struct Series {
  std::map<std::string, std::int32_t> ages;
  std::function<bool(const std::string&)> exists() const {
    return [this](const std::string& f) { return ages.count(f) != 0; };
  }
  std::function<std::int32_t(const std::string&)> age() const {
    return [this](const std::string& f) {
      const auto found = ages.find(f);
      return found == ages.end() ? -1 : found->second;
    };
  }
};

TEST(CycleNumber, TakesWhatFollowsTheBaseNameUpToTheExtension) {
  EXPECT_EQ(CycleNumber("/logs/app7.log", "app"), 7);
  EXPECT_EQ(CycleNumber("/logs/app07.log", "app"), 7);
  EXPECT_EQ(CycleNumber("/logs/app23", "app"), 23);
  EXPECT_EQ(CycleNumber("/logs/app.log", "app"), std::nullopt);
  EXPECT_EQ(CycleNumber("/logs/app7x.log", "app"), std::nullopt);
  EXPECT_EQ(CycleNumber("/logs/app7.log", ""), std::nullopt);
  EXPECT_EQ(CycleNumber("/logs/app7.log", "App"), std::nullopt);  // case matters
}

TEST(CycleNumber, BaseNameFoundInTheDirectoryOnlyStillCutsTheFileName) {
  // The test looks at the whole path, the cut at the file name.
  EXPECT_EQ(CycleNumber("/app/xyz5.log", "app"), 5);
}

TEST(NextCycleFile, PrefersThePlainNumberAndAcceptsEqualAges) {
  Series s{{{"/d/app7.log", 100}, {"/d/app8.log", 100}, {"/d/app08.log", 100}}};
  EXPECT_EQ(NextCycleFile("/d/app7.log", "app", s.exists(), s.age()), "/d/app8.log");
  s.ages.erase("/d/app8.log");
  EXPECT_EQ(NextCycleFile("/d/app7.log", "app", s.exists(), s.age()), "/d/app08.log");
}

TEST(NextCycleFile, RejectsOlderAndUnreadableCandidates) {
  Series s{{{"/d/app7.log", 100}, {"/d/app8.log", 99}}};
  EXPECT_EQ(NextCycleFile("/d/app7.log", "app", s.exists(), s.age()), std::nullopt);
  s.ages["/d/app8.log"] = -1;
  EXPECT_EQ(NextCycleFile("/d/app7.log", "app", s.exists(), s.age()), std::nullopt);
}

TEST(NextCycleFile, WrapsAfterTwentyThreeAndKeepsFileWithoutExtension) {
  Series s{{{"/d/app23.log", 1}, {"/d/app0.log", 1}, {"/d/app5", 1}, {"/d/app6", 2}}};
  EXPECT_EQ(NextCycleFile("/d/app23.log", "app", s.exists(), s.age()), "/d/app0.log");
  EXPECT_EQ(NextCycleFile("/d/app5", "app", s.exists(), s.age()), "/d/app6");
}

TEST(CycleForward, PassesSeveralNewerFilesAndStopsAfterOneRound) {
  Series s;
  for (int i = 0; i < 24; ++i)
    s.ages["/d/app" + std::to_string(i) + ".log"] = i < 10 ? 5 : 1;
  EXPECT_EQ(CycleForward("/d/app3.log", "app", s.exists(), s.age()), "/d/app9.log");
  for (auto& entry : s.ages)
    entry.second = 7;
  EXPECT_EQ(CycleForward("/d/app3.log", "app", s.exists(), s.age()), "/d/app3.log");
  EXPECT_EQ(CycleForward("/d/other.log", "app", s.exists(), s.age()), std::nullopt);
}

}  // namespace
}  // namespace brontel
