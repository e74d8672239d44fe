// The watcher on real directories: what each kind of change reports, the life cycle of its
// workers, errors, and letting go of it while it is busy.

#include "watch/Fsnotify.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "tests/support/ScratchFolder.h"
#include "tests/watch/WatchTestSupport.h"

namespace brontel {
namespace {

using namespace brontel::testing;
namespace fs = std::filesystem;

constexpr auto kQuiet = 300ms;  // long enough for a wrongly reported change to arrive

class WatcherTest : public ::testing::Test {
 protected:
  // A watcher on the temporary directory that has started watching: the first report
  // (First is set) comes only after the watch is in place.
  std::unique_ptr<TFSNotify> StartedWatcher(TNotifyFilters filters, bool subTree = false) {
    auto watcher = MakeWatcher(filters);
    watcher->SetSubTree(subTree);
    watcher->SetFirst(true);
    const int before = recorder_.Changes();
    watcher->SetActive(true);
    EXPECT_TRUE(RunUntil(poster_, recorder_.ChangesReach(before + 1)));
    return watcher;
  }

  std::unique_ptr<TFSNotify> MakeWatcher(TNotifyFilters filters) {
    auto watcher = std::make_unique<TFSNotify>(poster_);
    watcher->SetPath(dir_.string());
    watcher->SetFilters(filters);
    watcher->SetOnChange(recorder_.ChangeHandler());
    watcher->SetOnError(recorder_.ErrorHandler());
    return watcher;
  }

  // Expects `action` to be reported (or not) by a watcher with `filters`.
  void ExpectReported(TNotifyFilters filters, const std::function<void()>& action, bool reported) {
    auto watcher = StartedWatcher(filters);
    const int before = recorder_.Changes();
    action();
    if (reported) {
      EXPECT_TRUE(RunUntil(poster_, recorder_.ChangesReach(before + 1)));
    } else {
      RunFor(poster_, kQuiet);
      EXPECT_EQ(recorder_.Changes(), before);
    }
    EXPECT_TRUE(recorder_.Errors().empty());
  }

  const ScratchFolder folder_;
  const fs::path dir_ = folder_.Path();
  QueuePoster poster_;
  Recorder recorder_;
};

TEST_F(WatcherTest, ConstructionValues) {
  TFSNotify watcher(poster_);
  EXPECT_EQ(watcher.Filters(), TNotifyFilters{TNotifyFilter::cFileName});
  EXPECT_FALSE(watcher.Active());
  EXPECT_EQ(watcher.Path(), "");
  EXPECT_FALSE(watcher.OnChange());
  EXPECT_FALSE(watcher.OnError());
  EXPECT_EQ(watcher.TimeOut(), 0xFFFFFFFFu);
  EXPECT_FALSE(watcher.First());
  EXPECT_FALSE(watcher.SubTree());
  EXPECT_EQ(watcher.CurrentWorker(), nullptr);
}

TEST_F(WatcherTest, WritingReportsSizeAndLastWriteButNotNames) {
  AppendTo(dir_ / "app.log");
  const auto write = [&] { AppendTo(dir_ / "app.log"); };
  ExpectReported({TNotifyFilter::cSize}, write, true);
  ExpectReported({TNotifyFilter::cLastWrite}, write, true);
  ExpectReported({TNotifyFilter::cFileName, TNotifyFilter::cDirName}, write, false);
}

TEST_F(WatcherTest, PermissionChangesReportAttributesAndSecurity) {
  AppendTo(dir_ / "app.log");
  bool read_only = false;
  const auto chmod = [&] {
    read_only = !read_only;
    fs::permissions(dir_ / "app.log", fs::perms::owner_write,
                    read_only ? fs::perm_options::remove : fs::perm_options::add);
  };
  ExpectReported({TNotifyFilter::cAttributes}, chmod, true);
  ExpectReported({TNotifyFilter::cSecurity}, chmod, true);
  ExpectReported({TNotifyFilter::cSize}, chmod, false);
}

TEST_F(WatcherTest, RenamingReportsNamesButNotSize) {
  AppendTo(dir_ / "a.log");
  int step = 0;
  const auto rename = [&] {
    const bool forth = step++ % 2 == 0;
    fs::rename(dir_ / (forth ? "a.log" : "b.log"), dir_ / (forth ? "b.log" : "a.log"));
  };
  ExpectReported({TNotifyFilter::cSize}, rename, false);
  ExpectReported({TNotifyFilter::cFileName}, rename, true);
  ExpectReported({TNotifyFilter::cDirName}, rename, false);
}

TEST_F(WatcherTest, DirectoryNamesAreTheirOwnKind) {
  int made = 0;
  const auto make_directory = [&] { fs::create_directory(dir_ / ("d" + std::to_string(made++))); };
  ExpectReported({TNotifyFilter::cDirName}, make_directory, true);
  ExpectReported({TNotifyFilter::cFileName}, make_directory, false);
  const auto make_file = [&] { AppendTo(dir_ / ("f" + std::to_string(made++))); };
  ExpectReported({TNotifyFilter::cDirName}, make_file, false);
  ExpectReported({TNotifyFilter::cFileName}, make_file, true);
}

TEST_F(WatcherTest, TouchingTheTimeStampReportsLastWrite) {
  AppendTo(dir_ / "app.log");
  int hours = 0;
  const auto touch = [&] {
    fs::last_write_time(dir_ / "app.log",
                        fs::file_time_type::clock::now() - std::chrono::hours(++hours));
  };
  ExpectReported({TNotifyFilter::cLastWrite}, touch, true);
}

TEST_F(WatcherTest, FirstReportsOnceRightAfterActivation) {
  auto watcher = StartedWatcher({TNotifyFilter::cSize});
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Changes(), 1);
  EXPECT_EQ(recorder_.ChangeSenders().front(), watcher->CurrentWorker());
  EXPECT_EQ(recorder_.ChangeThreads().count(std::this_thread::get_id()), 0u)
      << "changes are delivered on the worker thread";
}

TEST_F(WatcherTest, WithoutFirstNothingIsReportedBeforeAChange) {
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetActive(true);
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Changes(), 0);
}

TEST_F(WatcherTest, TimeOutOfOneSecondReportsAboutOncePerSecondWithoutActivity) {
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetTimeOut(1000);
  watcher->SetActive(true);
  RunFor(poster_, 2500ms);
  // Two time-outs fit; the bounds only allow for a slow machine, not for a spinning wait.
  EXPECT_GE(recorder_.Changes(), 1);
  EXPECT_LE(recorder_.Changes(), 3);
}

TEST_F(WatcherTest, SubTreeOffIgnoresSubdirectories) {
  fs::create_directory(dir_ / "sub");
  AppendTo(dir_ / "sub" / "app.log");
  ExpectReported(
      {TNotifyFilter::cSize}, [&] { AppendTo(dir_ / "sub" / "app.log"); }, false);
}

TEST_F(WatcherTest, SubTreeOnReportsSubdirectoriesAlsoThoseMadeLater) {
  fs::create_directories(dir_ / "sub" / "deeper");
  AppendTo(dir_ / "sub" / "deeper" / "app.log");
  auto watcher = StartedWatcher({TNotifyFilter::cSize, TNotifyFilter::cDirName}, true);

  AppendTo(dir_ / "sub" / "deeper" / "app.log");
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(2)));

  fs::create_directory(dir_ / "sub" / "later");  // reported once the new directory is watched
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(3)));
  const int before = recorder_.Changes();
  AppendTo(dir_ / "sub" / "later" / "new.log");
  EXPECT_TRUE(RunUntil(poster_, recorder_.ChangesReach(before + 1)));
}

TEST_F(WatcherTest, MissingPathGivesOneErrorZeroOnTheMainThread) {
  const std::string missing = (dir_ / "missing").string() + "/";
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetPath(missing);
  watcher->SetFirst(true);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  RunFor(poster_, kQuiet);

  const auto errors = recorder_.Errors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].errNum, 0);
  EXPECT_EQ(errors[0].message, "Directory must be exist " + missing);
  EXPECT_EQ(errors[0].thread, std::this_thread::get_id());
  EXPECT_EQ(errors[0].sender, watcher->CurrentWorker());
  EXPECT_EQ(recorder_.Changes(), 0);
}

TEST_F(WatcherTest, AFileIsNotADirectory) {
  AppendTo(dir_ / "app.log");
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetPath((dir_ / "app.log").string());
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  EXPECT_EQ(recorder_.Errors()[0].errNum, 0);
}

TEST_F(WatcherTest, AfterAnErrorActiveStaysTrueUntilSetFalseThenTrue) {
  const fs::path later = dir_ / "later";
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetPath(later.string());
  watcher->SetFirst(true);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  EXPECT_TRUE(watcher->Active());

  fs::create_directory(later);
  watcher->SetActive(true);  // no change of value: no new worker
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Errors().size(), 1u);
  EXPECT_EQ(recorder_.Changes(), 0);

  watcher->SetActive(false);
  watcher->SetActive(true);
  EXPECT_TRUE(RunUntil(poster_, recorder_.ChangesReach(1)));
  AppendTo(later / "app.log");
  EXPECT_TRUE(RunUntil(poster_, recorder_.ChangesReach(2)));
  EXPECT_EQ(recorder_.Errors().size(), 1u);
}

TEST_F(WatcherTest, ActivatingTwiceStartsOneWorker) {
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetFirst(true);
  watcher->SetActive(true);
  const TThNotifyWalker* worker = watcher->CurrentWorker();
  watcher->SetActive(true);
  EXPECT_EQ(watcher->CurrentWorker(), worker);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(1)));
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Changes(), 1);
}

TEST_F(WatcherTest, ChangingThePathWhileActiveReplacesTheWorker) {
  const ScratchFolder other;
  auto watcher = StartedWatcher({TNotifyFilter::cSize});
  // The new worker may take the old one's freed memory, so workers are not told apart by their
  // addresses: the directories each change comes from below tell the old worker went.
  watcher->SetPath(other.Path().string());
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(2)));
  const TThNotifyWalker* second_worker = recorder_.ChangeSenders().back();
  EXPECT_EQ(second_worker, watcher->CurrentWorker());

  AppendTo(dir_ / "old.log");  // the old directory is no longer watched
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Changes(), 2);
  AppendTo(other.Path() / "new.log");
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(3)));
  EXPECT_EQ(recorder_.ChangeSenders().back(), second_worker);
}

TEST_F(WatcherTest, ChangingTheFiltersWhileActiveTakesEffectAtOnce) {
  auto watcher = StartedWatcher({TNotifyFilter::cSize});
  watcher->SetFilters({TNotifyFilter::cFileName});
  EXPECT_TRUE(watcher->Active());
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(2)));  // the new worker's first report
  AppendTo(dir_ / "created.log");
  EXPECT_TRUE(RunUntil(poster_, recorder_.ChangesReach(3)));
}

TEST_F(WatcherTest, ADeactivatedWatcherReportsNothingMore) {
  AppendTo(dir_ / "app.log");
  auto watcher = StartedWatcher({TNotifyFilter::cSize});
  watcher->SetActive(false);
  EXPECT_FALSE(watcher->Active());
  EXPECT_EQ(watcher->CurrentWorker(), nullptr);
  AppendTo(dir_ / "app.log");
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Changes(), 1);
  EXPECT_TRUE(recorder_.Errors().empty()) << "a requested stop is no error";
}

TEST_F(WatcherTest, RemovingTheWatchedDirectoryEndsWithErrorOne) {
  const fs::path watched = dir_ / "watched";
  fs::create_directory(watched);
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetPath(watched.string());
  watcher->SetFirst(true);
  watcher->SetActive(true);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ChangesReach(1)));

  fs::remove_all(watched);
  ASSERT_TRUE(RunUntil(poster_, recorder_.ErrorsReach(1)));
  const auto errors = recorder_.Errors();
  EXPECT_EQ(errors[0].errNum, 1);
  EXPECT_EQ(errors[0].message, "Not a Continued notify  " + watched.string());
  EXPECT_TRUE(watcher->Active());
  RunFor(poster_, kQuiet);
  EXPECT_EQ(recorder_.Errors().size(), 1u);
}

TEST_F(WatcherTest, StoppingAndDestroyingDoNotWaitForAChange) {
  // Without a time-out the worker would block until the next change; tearing down must not.
  for (int round = 0; round < 20; ++round) {
    auto watcher = StartedWatcher({TNotifyFilter::cSize});
    if (round % 2 == 0)
      watcher->SetActive(false);
    watcher.reset();
  }
  EXPECT_EQ(recorder_.Changes(), 20);
}

TEST_F(WatcherTest, DestructionDuringABurstWaitsForTheRunningCallAndEndsAllCalls) {
  struct Handler {
    std::atomic<int> calls{0};
    std::atomic<bool> in_call{false};
  };
  auto handler = std::make_unique<Handler>();
  auto watcher = std::make_unique<TFSNotify>(poster_);
  watcher->SetPath(dir_.string());
  watcher->SetFilters({TNotifyFilter::cSize, TNotifyFilter::cLastWrite});
  watcher->SetOnChange([state = handler.get()](TThNotifyWalker&) {
    state->in_call = true;
    std::this_thread::sleep_for(2ms);
    ++state->calls;
    state->in_call = false;
  });
  watcher->SetActive(true);

  std::atomic<bool> writing{true};
  std::thread writer([&] {
    while (writing)
      AppendTo(dir_ / "burst.log");
  });
  ASSERT_TRUE(RunUntil(poster_, [&] { return handler->calls >= 5; }));
  watcher.reset();
  EXPECT_FALSE(handler->in_call) << "destruction returned while a change call ran";
  const int calls = handler->calls;
  std::this_thread::sleep_for(50ms);  // the writer keeps the directory busy meanwhile
  EXPECT_EQ(handler->calls, calls) << "a change call started after destruction";
  handler.reset();  // a later call would now touch freed memory
  std::this_thread::sleep_for(50ms);
  writing = false;
  writer.join();
}

TEST_F(WatcherTest, DestroyingWhileAnErrorReportWaitsForTheMainThread) {
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  watcher->SetPath((dir_ / "missing").string());
  watcher->SetActive(true);
  // The worker has posted its report and waits for the main thread, which destroys instead.
  ASSERT_TRUE(WaitUntilPosted(poster_, 1));
  watcher.reset();
  poster_.RunAll();
  EXPECT_TRUE(recorder_.Errors().empty()) << "no report reaches an owner that has gone";
}

TEST_F(WatcherTest, AnErrorHandlerMayStopOrDestroyItsWatcher) {
  std::unique_ptr<TFSNotify> watcher = MakeWatcher({TNotifyFilter::cSize});
  int reports = 0;
  watcher->SetPath((dir_ / "missing").string());
  watcher->SetOnError([&](TThNotifyWalker&, int, const std::string&) {
    ++reports;
    watcher->SetActive(false);
    watcher.reset();
  });
  watcher->SetActive(true);
  EXPECT_TRUE(RunUntil(poster_, [&] { return watcher == nullptr; }));
  EXPECT_EQ(reports, 1);
}

TEST_F(WatcherTest, AThrowingChangeHandlerDoesNotEndTheWatch) {
  auto watcher = MakeWatcher({TNotifyFilter::cSize});
  std::atomic<int> calls{0};
  watcher->SetOnChange([&](TThNotifyWalker&) {
    ++calls;
    throw std::runtime_error("handler failed");
  });
  watcher->SetTimeOut(20);
  watcher->SetActive(true);
  EXPECT_TRUE(RunUntil(poster_, [&] { return calls >= 3; }));
  EXPECT_TRUE(recorder_.Errors().empty());
}

}  // namespace
}  // namespace brontel
