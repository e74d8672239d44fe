#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "platform/ProgramDirectory.h"
#include "tests/viewer/ViewerFixture.h"

namespace brontel::testing {
namespace {

using Modes = ViewerFixture;

TEST_F(Modes, FirstTickLoadsTheTailThenTicksEvery400Ms) {
  Write(logPath, "one\ntwo\n");
  Open();
  EXPECT_EQ(form->TailLoads(), 0u);
  Advance(50);
  EXPECT_EQ(form->TailLoads(), 1u);
  EXPECT_FALSE(form->firstTick());
  EXPECT_EQ(form->controls().Timer1->Interval(), 400u);
  EXPECT_EQ(form->reloadPending(), -1);
  EXPECT_EQ(Line(2), "two");
  // Nothing changed: later ticks do not load.
  Advance(5000);
  EXPECT_EQ(form->TailLoads(), 1u);
}

TEST_F(Modes, AppendedLineReloadsOnceWithinOnePollAndOneTick) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  Append("two\n");
  Advance(1400);
  EXPECT_EQ(form->TailLoads(), 2u);
  EXPECT_EQ(Line(2), "two");
  Advance(3000);
  EXPECT_EQ(form->TailLoads(), 2u);
}

TEST_F(Modes, WatcherNotificationReloadsAtTheNextTick) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  Append("two\n");
  form->NotifyFileChanged();
  toolkit.queuedPoster().RunPending();
  EXPECT_EQ(form->reloadPending(), 0);
  Advance(400);
  EXPECT_EQ(form->TailLoads(), 2u);
}

TEST_F(Modes, RealWatcherPostsTheCheckToTheUiThread) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  ASSERT_NE(form->watcher(), nullptr);
  EXPECT_TRUE(form->watcher()->Active());
  EXPECT_EQ(form->watcher()->Path(), folder.Path().string() + platform::PathSeparator());
  // The worker arms its watch on its own thread: write until it reports.
  for (int i = 0; i < 50 && toolkit.queuedPoster().Pending() == 0; ++i) {
    Append("two\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_GT(toolkit.queuedPoster().Pending(), 0u);
  EXPECT_EQ(form->reloadPending(), -1);  // nothing ran on the worker thread
  toolkit.queuedPoster().RunPending();
  EXPECT_EQ(form->reloadPending(), 0);
}

TEST_F(Modes, BurstOfNotificationsCostsOneReload) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  Append("two\n");
  std::thread worker([this] {
    for (int i = 0; i < 1000; ++i)
      form->NotifyFileChanged();
  });
  worker.join();
  EXPECT_LE(toolkit.queuedPoster().Pending(), 1u);
  toolkit.queuedPoster().RunPending();
  Advance(400);
  EXPECT_EQ(form->TailLoads(), 2u);
}

TEST_F(Modes, NotificationAfterTheWindowIsGoneDoesNothing) {
  Write(logPath, "one\n");
  Open();
  form->NotifyFileChanged();
  form.reset();
  EXPECT_EQ(toolkit.queuedPoster().RunPending(), 1u);
}

TEST_F(Modes, TouchAndTruncationReload) {
  Write(logPath, "one\ntwo\nthree\n");
  Open();
  Advance(50);
  Touch(logPath, 10);
  Advance(1400);
  EXPECT_EQ(form->TailLoads(), 2u);
  Write(logPath, "x\n");
  Advance(1400);
  EXPECT_EQ(form->TailLoads(), 3u);
  EXPECT_EQ(Line(1), "x");
}

// An expression that never matches because it does not compile must not pass unnoticed: the
// first viewer's status says so (once per process, so the second viewer's does not).
TEST_F(Modes, AnExpressionThatDoesNotCompileIsNamedInTheFirstViewersStatus) {
  store.values = {{"MsgTypes\\Count", "1"},
                  {"MsgTypes\\Item0", "Bad"},
                  {"MsgTypes.Bad\\Name", "Bad"},
                  {"MsgTypes.Bad\\ExprCount", "1"},
                  {"MsgTypes.Bad\\Expr0", "(E"}};
  Write(logPath, "E   one\n");
  Open();
  Advance(50);
  const std::string status = form->controls().Label2.Caption();
  EXPECT_TRUE(status.ends_with("] [the expression (E of Bad does not compile: " +
                               form->messageTypes().Types()[0].compiled[0]->lastError() + "]"))
      << status;
  Open();
  Advance(50);
  EXPECT_TRUE(form->controls().Label2.Caption().ends_with("] [Buffer:20 KB]"));
}

// Logs copied from a device whose clock stood at 1970 have no packed DOS date.
TEST_F(Modes, AFileDatedBefore1980IsShownAndFollowed) {
  constexpr int kFiftyYears = 50 * 365 * 24 * 3600;
  Write(logPath, "one\n");
  Touch(logPath, -kFiftyYears);
  Open();
  Advance(50);
  EXPECT_EQ(Line(1), "one");
  const std::string status = form->controls().Label2.Caption();
  EXPECT_EQ(status.rfind("app.log  [4 Bytes] [", 0), 0u) << status;
  EXPECT_TRUE(status.ends_with("] [Buffer:20 KB]")) << status;
  Append("two\n");
  Touch(logPath, -kFiftyYears);
  Advance(1400);
  EXPECT_EQ(form->TailLoads(), 2u);
  EXPECT_EQ(Line(2), "two");
}

TEST_F(Modes, RenamedAwayKeepsTheViewUntilItIsBack) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  const std::string moved = folder.File("moved.txt");
  std::filesystem::rename(logPath, moved);
  Advance(3000);
  EXPECT_EQ(form->TailLoads(), 1u);
  EXPECT_EQ(Line(1), "one");
  folder.Append(moved, "two\n");
  std::filesystem::rename(moved, logPath);
  Advance(1400);
  EXPECT_EQ(form->TailLoads(), 2u);
  EXPECT_EQ(Line(2), "two");
}

TEST_F(Modes, AutoTailOffStopsReloads) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  form->controls().chkActive.SetChecked(false);
  EXPECT_FALSE(form->options().Active);
  EXPECT_FALSE(form->watcher()->Active());
  EXPECT_FALSE(form->controls().Timer1->Enabled());
  Append("two\n");
  Advance(5000);
  EXPECT_EQ(form->TailLoads(), 1u);
  // The due reload waits for auto tail.
  form->controls().chkActive.SetChecked(true);
  Advance(400);
  EXPECT_EQ(form->TailLoads(), 2u);
}

TEST_F(Modes, CompleteLoadCountsEveryLineAndKeepsDuplicates) {
  Write(logPath, "start\nE\tdisk full\nok\nE\tdisk full\nE\tno route\nE\ttimeout\nE\tcrash\nend\n");
  Open();
  Advance(50);
  ui::TRAHLEditor& view = form->editor();
  view.SetCaretRow(0);
  form->controls().chkComplete.SetChecked(true);
  ASSERT_EQ(view.LineCount(), 5u + 1u + 8u);
  EXPECT_EQ(Line(0), "E   disk full");
  EXPECT_EQ(Line(5), "|   Error:5, HistoryCount:5");
  EXPECT_EQ(Line(6), "start");
  EXPECT_EQ(LastLine(), "end");
  EXPECT_EQ(view.CaretRow(), 5);
  EXPECT_FALSE(form->options().Active);
  EXPECT_TRUE(form->options().LoadCompleteFile);
  EXPECT_FALSE(form->controls().chkActive.Checked());
  EXPECT_FALSE(form->controls().Timer1->Enabled());
  EXPECT_EQ(toolkit.recordingCursor().Current(), ui::Cursor::Default);
  EXPECT_NE(std::find(toolkit.recordingCursor().History().begin(),
                      toolkit.recordingCursor().History().end(), ui::Cursor::HourGlass),
            toolkit.recordingCursor().History().end());
}

TEST_F(Modes, CompleteLoadWithoutCountedLinesShowsTheFileOnly) {
  Write(logPath, "a\nb\n");
  Open();
  Advance(50);
  form->controls().chkComplete.SetChecked(true);
  ASSERT_EQ(form->editor().LineCount(), 2u);
  EXPECT_EQ(Line(0), "a");
}

// One load per request, at the separator, even with log lines that look like markers and the
// caret far below; a re-run for another option keeps the place.
TEST_F(Modes, CompleteLoadRunsOncePerRequestAndOpensAtTheSeparator) {
  std::string log = "start\nE\tdisk full\n";
  for (int i = 0; i < 80; ++i)
    log += "| table row " + std::to_string(i) + "\n";
  Write(logPath, log);
  Open();
  Advance(50);
  ui::TRAHLEditor& view = form->editor();
  ASSERT_EQ(view.CaretRow(), view.RowCount() - 1);  // auto follow put it on the last row
  form->controls().chkComplete.SetChecked(true);
  EXPECT_EQ(form->CompleteLoads(), 1u);
  EXPECT_EQ(view.CaretRow(), 1);
  EXPECT_EQ(Line(1), "|   Error:1, HistoryCount:1");
  EXPECT_EQ(view.TopRow(), 0);
  view.MoveCaret(40, 2);
  view.ScrollTo(1, 30);
  form->controls().comMaxHistLines.UserSelect(3);
  EXPECT_EQ(form->CompleteLoads(), 2u);
  EXPECT_EQ(view.CaretRow(), 40);
  EXPECT_EQ(view.TopRow(), 30);
  EXPECT_EQ(view.LeftCol(), 1);
}

TEST_F(Modes, OpenedWithCompleteLoadKeepsTheCompleteView) {
  Write(logPath, "E\tboom\nline\n");
  store.values["Options.LoadCompleteFile"] = "1";
  Open();
  EXPECT_EQ(form->CompleteLoads(), 1u);
  EXPECT_EQ(Line(1), "|   Error:1, HistoryCount:1");
  EXPECT_EQ(form->editor().CaretRow(), 1);  // at the separator, as a click opens it
  const std::string status = form->controls().Label2.Caption();
  EXPECT_EQ(status.rfind("app.log  [12 Bytes] [", 0), 0u) << status;
  EXPECT_TRUE(status.ends_with("] [Buffer:20 KB]")) << status;
  Advance(50);
  Append("more\n");
  Advance(3000);
  EXPECT_EQ(form->TailLoads(), 0u);
  EXPECT_EQ(Line(1), "|   Error:1, HistoryCount:1");
  EXPECT_TRUE(form->controls().chkComplete.Checked());
  EXPECT_FALSE(form->controls().chkActive.Checked());
}

// A glog log named app.log: its first lines choose the preset, which the status names and
// whose errors the history pins; the panel's switch is written for the next viewer at once.
TEST_F(Modes, TheChosenPresetColoursTheViewAndThePanelSwitchIsKept) {
  Write(logPath,
        "I1210 09:12:01.101234    4711 server.cc:88] Listening\n"
        "E1210 09:14:22.317004    4733 store.cc:377] Shard 7: checksum mismatch\n");
  Open();
  Advance(50);
  EXPECT_TRUE(form->controls().Label2.Caption().ends_with(" [types: glog]"))
      << form->controls().Label2.Caption();
  EXPECT_EQ(Line(1), "|   Error:1, History:1");
  EXPECT_TRUE(form->controls().chkAutoTypes.Checked());
  form->controls().chkAutoTypes.SetChecked(false);
  EXPECT_EQ(store.values["Options.AutoMsgTypes"], "0");
}

TEST_F(Modes, CompleteLoadFailureAfterConstructionKeepsTheView) {
  Write(logPath, "one\n");
  Open();
  Advance(50);
  std::filesystem::remove(logPath);
  form->controls().chkComplete.SetChecked(true);
  EXPECT_EQ(Line(1), "one");
  EXPECT_NE(form->controls().Label2.Caption().find("Load complete failed"), std::string::npos);
  EXPECT_EQ(toolkit.recordingCursor().Current(), ui::Cursor::Default);
  // The next complete load that succeeds shows the file's status again.
  Write(logPath, "back\n");
  form->controls().chkComplete.SetChecked(false);
  form->controls().chkComplete.SetChecked(true);
  EXPECT_EQ(Line(0), "back");
  EXPECT_EQ(form->controls().Label2.Caption().rfind("app.log  [5 Bytes] [", 0), 0u);
  // The viewer keeps working: auto tail back on loads again once the file is back.
  Write(logPath, "two\n");
  form->controls().chkActive.SetChecked(true);
  Advance(400);
  EXPECT_EQ(Line(1), "two");
}

TEST_F(Modes, CompleteLoadFailureDuringConstructionDeclinesTheFile) {
  store.values["Options.LoadCompleteFile"] = "1";
  EXPECT_ANY_THROW(TForm1(toolkit, kHostHandle, folder.File("missing.log"), store,
                          platform::SystemDirectoryChangeSource()));
}

TEST_F(Modes, CloseSavesOptionsAndFreesTheWindowLater) {
  Write(logPath, "one\n");
  store.values["Options.AutoCycle"] = "0";
  TForm1* raw =
      new TForm1(toolkit, kHostHandle, logPath, store, platform::SystemDirectoryChangeSource());
  raw->FormCreate();
  raw->FormShow();
  bool destroyed = false;
  raw->AddObserver([&destroyed](ui::Component&, ui::Change change) {
    if (change == ui::Change::Destroyed)
      destroyed = true;
  });
  raw->options().SetAutoCycle(true);
  raw->Close();
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(store.values["Options.AutoCycle"], "1");
  toolkit.queuedPoster().RunPending();
  EXPECT_TRUE(destroyed);
}

class Cycle : public ViewerFixture {
 protected:
  void OpenCycling(const std::string& name) {
    store.values["Options.AutoCycle"] = "1";
    store.values["Options.LastCycleName"] = "app";
    Open(folder.File(name));
  }
};

TEST_F(Cycle, MovesOnToTheNextNumberAndFurtherInOneCheck) {
  Write("app7.log", "seven\n");
  OpenCycling("app7.log");
  Advance(50);
  Write("app8.log", "eight\n");
  Write("app9.log", "nine\n");
  Touch(folder.File("app8.log"), 10);
  Touch(folder.File("app9.log"), 10);
  Advance(1400);
  EXPECT_EQ(form->path, folder.File("app9.log"));
  EXPECT_EQ(Line(1), "nine");
}

TEST_F(Cycle, TakesTheTwoDigitNameWhenThePlainOneIsMissing) {
  Write("app7.log", "seven\n");
  OpenCycling("app7.log");
  Write("app08.log", "eight\n");
  Touch(folder.File("app08.log"), 10);
  EXPECT_TRUE(form->CycleToNextFile());
  EXPECT_EQ(form->path, folder.File("app08.log"));
}

TEST_F(Cycle, OlderNextFileDoesNotSwitch) {
  Write("app7.log", "seven\n");
  Write("app8.log", "eight\n");
  Touch(folder.File("app8.log"), -100);
  OpenCycling("app7.log");
  EXPECT_FALSE(form->CycleToNextFile());
  EXPECT_EQ(form->path, folder.File("app7.log"));
}

TEST_F(Cycle, TwentyThreeIsFollowedByZero) {
  Write("app23.log", "x\n");
  OpenCycling("app23.log");
  Write("app00.log", "y\n");
  Touch(folder.File("app00.log"), 10);
  EXPECT_TRUE(form->CycleToNextFile());
  EXPECT_EQ(form->path, folder.File("app00.log"));
}

TEST_F(Cycle, FileWithoutNumberNeverSwitches) {
  Write("app.log", "x\n");
  Write("app0.log", "y\n");
  Touch(folder.File("app0.log"), 10);
  OpenCycling("app.log");
  EXPECT_FALSE(form->CycleToNextFile());
}

TEST_F(Cycle, FullSeriesOfEqualAgesEndsAfterOneRound) {
  for (int i = 0; i < 24; ++i)
    Write("app" + std::to_string(i) + ".log", "x\n");
  const auto when = std::filesystem::last_write_time(folder.File("app0.log"));
  for (int i = 0; i < 24; ++i)
    std::filesystem::last_write_time(folder.File("app" + std::to_string(i) + ".log"), when);
  OpenCycling("app5.log");
  EXPECT_TRUE(form->CycleToNextFile());
  EXPECT_EQ(form->path, folder.File("app5.log"));
}

}  // namespace
}  // namespace brontel::testing
