#include "diagnostics/Shield.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "diagnostics/Debugtimer.h"
#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

// What the shield stopped, as the timing log holds it (the lines after the header).
class ShieldTest : public ::testing::Test {
 protected:
  void SetUp() override { GetFileManager().SetPath(log_); }
  void TearDown() override { GetFileManager().SetPath(""); }

  std::vector<std::string> Caught() const {
    std::ifstream file(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
      const std::size_t mark = line.find("\t! ");
      if (mark != std::string::npos)
        lines.push_back(line.substr(mark + 3));
    }
    return lines;
  }

  testing::ScratchFolder folder_;
  const std::string log_ = folder_.File("procedures.log");
};

TEST_F(ShieldTest, StopsEveryFailureAndRecordsWhereAndWhat) {
  EXPECT_TRUE(Shield::Run("Timer2", [] {}));
  EXPECT_FALSE(Shield::Run("Timer1", [] { throw std::runtime_error("disk gone"); }));
  EXPECT_EQ(Shield::Value("ListLoad", 0, []() -> int { throw 7; }), 0);
  EXPECT_EQ(Shield::Value("ListSearchText", 1, [] { return 0; }), 0);
  EXPECT_EQ(Caught(),
            (std::vector<std::string>{"Timer1: disk gone", "ListLoad: a failure of unknown type"}));
}

TEST_F(ShieldTest, FailuresOnSeveralThreadsAtOnceKeepTheirLinesWhole) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 50; ++i)
        Shield::Run("watcher thread", [] { throw std::runtime_error(std::string(200, 'x')); });
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  const std::vector<std::string> caught = Caught();
  ASSERT_EQ(caught.size(), 200u);
  for (const std::string& line : caught)
    EXPECT_EQ(line, "watcher thread: " + std::string(200, 'x'));
}

}  // namespace
}  // namespace brontel
