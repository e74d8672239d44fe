// The worker's run loop against a scripted operating system: what reaches the watch, how each
// wait outcome is answered, and that a broken watch ends instead of spinning.

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <stdexcept>

#include "platform/PlatformError.h"
#include "tests/watch/WatchTestSupport.h"
#include "watch/Fsnotify.h"

namespace brontel {
namespace {

using namespace brontel::testing;
using Result = platform::DirectoryChanges::WaitResult;

// Plays the operating system: waits answer from a script, then block until the stop signal.
class ScriptedSource : public platform::DirectoryChangeSource {
 public:
  struct Script {
    std::deque<Result> waits;
    std::deque<bool> rearms;  // true once used up
  };

  explicit ScriptedSource(Script script = {}) : script_(std::move(script)) {}

  bool IsExistingDirectory(const std::string& path) override {
    return path.rfind("/missing", 0) != 0;
  }

  std::unique_ptr<platform::DirectoryChanges> Watch(const std::string& directory, bool subtree,
                                                    std::uint32_t changeClasses,
                                                    const platform::StopSignal& stop) override {
    std::lock_guard lock(mutex_);
    ++watches_;
    last_directory_ = directory;
    last_subtree_ = subtree;
    last_classes_ = changeClasses;
    if (refuse_)
      throw platform::PlatformError(directory, "refused");
    return std::make_unique<Changes>(*this, stop);
  }

  void Refuse() { refuse_ = true; }
  int Watches() {
    std::lock_guard lock(mutex_);
    return watches_;
  }
  std::uint32_t LastClasses() {
    std::lock_guard lock(mutex_);
    return last_classes_;
  }
  bool LastSubtree() {
    std::lock_guard lock(mutex_);
    return last_subtree_;
  }
  std::string LastDirectory() {
    std::lock_guard lock(mutex_);
    return last_directory_;
  }
  int Waits() const { return waits_; }
  int Rearms() const { return rearms_; }

 private:
  class Changes : public platform::DirectoryChanges {
   public:
    Changes(ScriptedSource& source, const platform::StopSignal& stop)
        : source_(source), stop_(stop) {}
    Result Wait(std::uint32_t) override {
      ++source_.waits_;
      {
        std::lock_guard lock(source_.mutex_);
        if (!source_.script_.waits.empty()) {
          const Result result = source_.script_.waits.front();
          source_.script_.waits.pop_front();
          return result;
        }
      }
      while (!stop_.IsRaised())
        std::this_thread::sleep_for(1ms);
      return Result::kStopped;
    }
    bool Rearm() override {
      ++source_.rearms_;
      std::lock_guard lock(source_.mutex_);
      if (source_.script_.rearms.empty())
        return true;
      const bool result = source_.script_.rearms.front();
      source_.script_.rearms.pop_front();
      return result;
    }

   private:
    ScriptedSource& source_;
    const platform::StopSignal& stop_;
  };

  std::mutex mutex_;
  Script script_;
  std::atomic<bool> refuse_{false};
  int watches_ = 0;
  std::string last_directory_;
  bool last_subtree_ = false;
  std::uint32_t last_classes_ = 0;
  std::atomic<int> waits_{0};
  std::atomic<int> rearms_{0};
};

class WorkerTest : public ::testing::Test {
 protected:
  std::unique_ptr<TFSNotify> MakeWatcher(ScriptedSource& source, const std::string& path = "/d") {
    auto watcher = std::make_unique<TFSNotify>(poster_, source);
    watcher->SetPath(path);
    watcher->SetOnChange(recorder_.ChangeHandler());
    watcher->SetOnError(recorder_.ErrorHandler());
    return watcher;
  }

  QueuePoster poster_;
  Recorder recorder_;
};

TEST(ChangeClassMask, EachMemberAddsItsChangeClass) {
  EXPECT_EQ(ChangeClassMask({}), 0u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cFileName}), 0x001u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cDirName}), 0x002u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cAttributes}), 0x004u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cSize}), 0x008u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cLastWrite}), 0x010u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cSecurity}), 0x100u);
  EXPECT_EQ(ChangeClassMask({TNotifyFilter::cAttributes, TNotifyFilter::cSize,
                             TNotifyFilter::cLastWrite, TNotifyFilter::cSecurity}),
            0x11Cu);
}

TEST(NotifyFilters, BehaveAsASet) {
  TNotifyFilters filters{TNotifyFilter::cSize, TNotifyFilter::cSize};
  EXPECT_TRUE(filters.Contains(TNotifyFilter::cSize));
  EXPECT_FALSE(filters.Contains(TNotifyFilter::cSecurity));
  filters.Include(TNotifyFilter::cSecurity);
  filters.Exclude(TNotifyFilter::cSize);
  EXPECT_EQ(filters, TNotifyFilters{TNotifyFilter::cSecurity});
  filters.Exclude(TNotifyFilter::cSecurity);
  EXPECT_TRUE(filters.Empty());
}

TEST_F(WorkerTest, TheWatchGetsTheSettingsOfTheActivation) {
  ScriptedSource source;
  auto watcher = MakeWatcher(source, "/logs/");
  watcher->SetFilters({TNotifyFilter::cFileName, TNotifyFilter::cDirName,
                       TNotifyFilter::cAttributes, TNotifyFilter::cSize, TNotifyFilter::cLastWrite,
                       TNotifyFilter::cSecurity});
  watcher->SetSubTree(true);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, [&] { return source.Watches() == 1; }));
  EXPECT_EQ(source.LastDirectory(), "/logs/");
  EXPECT_TRUE(source.LastSubtree());
  EXPECT_EQ(source.LastClasses(), 0x11Fu);

  watcher->SetSubTree(false);  // a plain value: only the next activation sees it
  watcher->SetFilters({TNotifyFilter::cSecurity});
  ASSERT_TRUE(RunUntil(poster_, [&] { return source.Watches() == 2; }));
  EXPECT_FALSE(source.LastSubtree());
  EXPECT_EQ(source.LastClasses(), 0x100u);
}

TEST_F(WorkerTest, SignalsAndTimeOutsAreBothDeliveredAndRearmed) {
  ScriptedSource source({{Result::kSignalled, Result::kTimedOut, Result::kSignalled}, {}});
  auto watcher = MakeWatcher(source);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(3)));
  EXPECT_EQ(source.Rearms(), 3);
  watcher->SetActive(false);
  watcher.reset();
  EXPECT_EQ(recorder_.Changes(), 3);
  EXPECT_TRUE(recorder_.Errors().empty());
}

TEST_F(WorkerTest, AFailingWaitEndsWithErrorOneInsteadOfSpinning) {
  ScriptedSource source({{Result::kSignalled, Result::kFailed, Result::kFailed}, {}});
  auto watcher = MakeWatcher(source, "/d/");
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  RunFor(poster_, 100ms);
  const auto errors = recorder_.Errors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].errNum, 1);
  EXPECT_EQ(errors[0].message, "Not a Continued notify  /d/");
  EXPECT_EQ(source.Waits(), 2) << "a failed wait is not retried";
  EXPECT_EQ(recorder_.Changes(), 1);
  EXPECT_TRUE(RunUntil(poster_, [&] { return watcher->CurrentWorker()->Finished(); }));
  EXPECT_EQ(watcher->CurrentWorker()->ErrNum(), 1);
}

TEST_F(WorkerTest, AFailedRearmDeliversNothingForThatSignal) {
  ScriptedSource source({{Result::kSignalled}, {false}});
  auto watcher = MakeWatcher(source);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  EXPECT_EQ(recorder_.Errors()[0].errNum, 1);
  EXPECT_EQ(recorder_.Changes(), 0);
  EXPECT_EQ(source.Waits(), 1);
}

TEST_F(WorkerTest, ARefusedWatchStillGivesTheFirstReportThenErrorOne) {
  ScriptedSource source;
  source.Refuse();
  auto watcher = MakeWatcher(source);
  watcher->SetFirst(true);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  EXPECT_EQ(recorder_.Changes(), 1);
  EXPECT_EQ(recorder_.Errors()[0].errNum, 1);
  EXPECT_EQ(source.Waits(), 0);
}

TEST_F(WorkerTest, WithoutAnErrorHandlerErrorsEndTheWorkerQuietly) {
  ScriptedSource source;
  auto watcher = std::make_unique<TFSNotify>(poster_, source);
  watcher->SetPath("/missing");
  watcher->SetActive(true);
  const TThNotifyWalker* worker = watcher->CurrentWorker();
  ASSERT_TRUE(RunUntil(poster_, [&] { return worker->Finished(); }));
  EXPECT_EQ(worker->ErrNum(), 0);
  EXPECT_EQ(poster_.Pending(), 0u);
  EXPECT_EQ(source.Watches(), 0);
}

TEST_F(WorkerTest, ActivatingTwiceMakesOneWatch) {
  ScriptedSource source;
  auto watcher = MakeWatcher(source);
  watcher->SetActive(true);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, [&] { return source.Watches() >= 1; }));
  RunFor(poster_, 100ms);
  EXPECT_EQ(source.Watches(), 1);
}

TEST_F(WorkerTest, ManyQuickTogglesLeaveNoWorkerBehind) {
  ScriptedSource source;
  auto watcher = MakeWatcher(source);
  for (int round = 0; round < 50; ++round) {
    watcher->SetActive(true);
    watcher->SetActive(false);
  }
  watcher.reset();  // joins every worker; the sanitizers report any that is left over
  EXPECT_TRUE(recorder_.Errors().empty());
  poster_.RunAll();
  EXPECT_TRUE(recorder_.Errors().empty());
}

TEST_F(WorkerTest, MainThreadDeliveryRunsTheChangeThereAndWaitsForIt) {
  ScriptedSource source({{Result::kSignalled}, {}});
  TThNotifyWalker::Settings settings;
  settings.path = "/d";
  settings.first = true;
  settings.onChange = recorder_.ChangeHandler();
  settings.delivery = TThNotifyWalker::Delivery::kThroughMainThread;
  auto worker = std::make_shared<TThNotifyWalker>(std::move(settings), poster_, source);
  ASSERT_TRUE(worker->Start());

  ASSERT_TRUE(WaitUntilPosted(poster_, 1));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(source.Waits(), 0) << "the worker waits until the first report has run";
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(2)));
  EXPECT_EQ(recorder_.ChangeThreads(), std::set<std::thread::id>{std::this_thread::get_id()});

  worker->RequestStop();
  worker->Join();
  EXPECT_TRUE(worker->Finished());
  EXPECT_EQ(worker->ErrNum(), -1);
}

TEST_F(WorkerTest, AStopReleasesAWorkerWaitingForTheMainThread) {
  ScriptedSource source;
  TThNotifyWalker::Settings settings;
  settings.path = "/missing";
  settings.onError = recorder_.ErrorHandler();
  auto worker = std::make_shared<TThNotifyWalker>(std::move(settings), poster_, source);
  ASSERT_TRUE(worker->Start());
  ASSERT_TRUE(WaitUntilPosted(poster_, 1));
  worker->RequestStop();
  worker->Join();  // returns although the report never ran
  poster_.RunAll();
  EXPECT_TRUE(recorder_.Errors().empty());
  EXPECT_EQ(worker->ErrNum(), 0);
}

}  // namespace
}  // namespace brontel
