// The operating system's watch on its own: waits, the stop signal, which events count, and how
// a subtree watch follows its directories.

#include "platform/DirectoryChanges.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <thread>

#include "platform/PlatformError.h"
#include "tests/support/ScratchFolder.h"
#include "tests/watch/WatchTestSupport.h"

namespace brontel::platform {
namespace {

using namespace brontel::testing;
using Result = DirectoryChanges::WaitResult;
namespace fs = std::filesystem;

constexpr std::uint32_t kQuietWait = 200;  // ms; long enough for a stray event to show

class DirectoryChangesTest : public ::testing::Test {
 protected:
  std::unique_ptr<DirectoryChanges> Watch(const fs::path& directory, std::uint32_t classes,
                                          bool subtree = false) {
    return SystemDirectoryChangeSource().Watch(directory.string(), subtree, classes, stop_);
  }

  const ScratchFolder folder_;
  const fs::path dir_ = folder_.Path();
  StopSignal stop_;
};

TEST_F(DirectoryChangesTest, TellsDirectoriesFromFilesAndMissingPaths) {
  AppendTo(dir_ / "file");
  DirectoryChangeSource& source = SystemDirectoryChangeSource();
  EXPECT_TRUE(source.IsExistingDirectory(dir_.string()));
  EXPECT_TRUE(source.IsExistingDirectory(dir_.string() + "/"));
  EXPECT_FALSE(source.IsExistingDirectory((dir_ / "file").string()));
  EXPECT_FALSE(source.IsExistingDirectory((dir_ / "missing").string()));
  EXPECT_FALSE(source.IsExistingDirectory(""));
}

TEST_F(DirectoryChangesTest, RefusesAMissingDirectoryWithItsPath) {
  const std::string missing = (dir_ / "missing").string();
  try {
    Watch(missing, kChangeSize);
    FAIL() << "a missing directory was watched";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.path(), missing);
  }
}

TEST_F(DirectoryChangesTest, AWaitWithoutChangesTimesOut) {
  auto watch = Watch(dir_, kChangeSize);
  EXPECT_EQ(watch->Wait(20), Result::kTimedOut);
  EXPECT_EQ(watch->Wait(0), Result::kTimedOut);
  EXPECT_TRUE(watch->Rearm());
}

TEST_F(DirectoryChangesTest, TheStopSignalEndsWaitsNowAndLater) {
  ASSERT_TRUE(stop_.Usable());
  auto watch = Watch(dir_, kChangeSize);
  auto blocked = std::async(std::launch::async, [&] { return watch->Wait(kWaitWithoutLimit); });
  std::this_thread::sleep_for(20ms);
  stop_.Raise();
  ASSERT_EQ(blocked.wait_for(10s), std::future_status::ready) << "the raised signal woke nobody";
  EXPECT_EQ(blocked.get(), Result::kStopped);
  EXPECT_TRUE(stop_.IsRaised());
  stop_.Raise();
  EXPECT_EQ(watch->Wait(kWaitWithoutLimit), Result::kStopped) << "the signal stays raised";
}

TEST_F(DirectoryChangesTest, EventsOfOtherClassesDoNotEndTheWait) {
  auto watch = Watch(dir_, kChangeDirName);
  AppendTo(dir_ / "file");
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut);
  fs::create_directory(dir_ / "sub");
  EXPECT_EQ(watch->Wait(kQuietWait * 50), Result::kSignalled);
}

TEST_F(DirectoryChangesTest, ABurstIsOneSignal) {
  AppendTo(dir_ / "app.log");
  auto watch = Watch(dir_, kChangeSize | kChangeLastWrite);
  for (int i = 0; i < 100; ++i)
    AppendTo(dir_ / "app.log");
  EXPECT_EQ(watch->Wait(kWaitWithoutLimit), Result::kSignalled);
  EXPECT_TRUE(watch->Rearm());
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut);
  AppendTo(dir_ / "app.log");  // and the watch goes on after the burst
  EXPECT_EQ(watch->Wait(kWaitWithoutLimit), Result::kSignalled);
}

// Moves a tree of folders to and fro inside `dir` until told to stop. Each move is one call
// here but a walk of the whole tree for a subtree watch, so events never stop queueing.
class RestlessWriter {
 public:
  explicit RestlessWriter(const fs::path& dir) {
    for (int i = 0; i < 4; ++i)
      fs::create_directories(dir / "a" / std::to_string(i));
    thread_ = std::thread([this, dir] {
      std::error_code ignored;
      for (bool there = false; writing_.load(); there = !there)
        fs::rename(dir / (there ? "b" : "a"), dir / (there ? "a" : "b"), ignored);
    });
  }
  ~RestlessWriter() { Stop(); }
  void Stop() {
    writing_.store(false);
    if (thread_.joinable())
      thread_.join();
  }

  // The result of `work`, or nothing when it did not end in time; the writer then stops so
  // that the work can end.
  template <typename Work>
  std::optional<std::invoke_result_t<Work>> Within(Work work) {
    auto running = std::async(std::launch::async, work);
    if (running.wait_for(30s) == std::future_status::ready)
      return running.get();
    Stop();
    running.wait();
    return std::nullopt;
  }

 private:
  std::atomic<bool> writing_{true};
  std::thread thread_;
};

TEST_F(DirectoryChangesTest, AWriterThatNeverPausesHoldsNeitherSignalNorStop) {
  auto names = Watch(dir_, kChangeDirName, true);
  auto sizes = Watch(dir_, kChangeSize, true);  // none of the moves is its concern
  RestlessWriter writer(dir_);
  EXPECT_EQ(writer.Within([&] { return names->Wait(kWaitWithoutLimit); }), Result::kSignalled);
  EXPECT_EQ(writer.Within([&] { return names->Rearm(); }), true);
  auto raise = std::async(std::launch::async, [&] {
    std::this_thread::sleep_for(50ms);
    stop_.Raise();
  });
  const auto untilStopped = [&] {  // a queue that overflows meanwhile counts as a change
    Result result = sizes->Wait(kWaitWithoutLimit);
    while (result == Result::kSignalled && sizes->Rearm())
      result = sizes->Wait(kWaitWithoutLimit);
    return result;
  };
  EXPECT_EQ(writer.Within(untilStopped), Result::kStopped);
}

TEST_F(DirectoryChangesTest, AWatchWithoutClassesStillNoticesTheEndOfItsDirectory) {
  const fs::path watched = dir_ / "watched";
  fs::create_directory(watched);
  auto watch = Watch(watched, 0);
  AppendTo(watched / "file");
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut);
  fs::remove_all(watched);
  EXPECT_EQ(watch->Wait(kWaitWithoutLimit), Result::kSignalled);
  EXPECT_FALSE(watch->Rearm());
}

TEST_F(DirectoryChangesTest, ASubtreeWatchFollowsDirectoriesMovedWithinAndOutOfIt) {
  const ScratchFolder outside;
  fs::create_directories(dir_ / "a" / "inner");
  auto watch = Watch(dir_, kChangeSize, true);

  fs::rename(dir_ / "a", dir_ / "b");
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut) << "a move is no size change";
  fs::create_directory(dir_ / "b" / "inner" / "new");  // watched under its new parent path
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut);
  AppendTo(dir_ / "b" / "inner" / "new" / "file");
  EXPECT_EQ(watch->Wait(kWaitWithoutLimit), Result::kSignalled);
  ASSERT_TRUE(watch->Rearm());

  fs::rename(dir_ / "b", outside.Path() / "b");
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut);
  AppendTo(outside.Path() / "b" / "inner" / "file");
  AppendTo(outside.Path() / "b" / "inner" / "new" / "file");
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut) << "reports from outside the tree";
}

TEST_F(DirectoryChangesTest, ASubtreeWatchDoesNotFollowLinksOutOfTheTree) {
  const ScratchFolder outside;
  fs::create_directory_symlink(outside.Path(), dir_ / "link");
  auto watch = Watch(dir_, kChangeSize, true);
  AppendTo(outside.Path() / "file");
  EXPECT_EQ(watch->Wait(kQuietWait), Result::kTimedOut);
}

}  // namespace
}  // namespace brontel::platform
