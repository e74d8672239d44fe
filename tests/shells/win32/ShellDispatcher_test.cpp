// Posted work and timers on the hidden dispatcher window, run by the thread's message loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "shells/win32/UiDispatcher.h"
#include "shells/win32/Win32Cursor.h"
#include "tests/shells/win32/RecordingHost.h"
#include "ui/Timer.h"

namespace brontel::win32::testing {
namespace {

TEST(UiDispatcherTest, PostedWorkRunsInOrderOnTheUiThreadEvenAfterAFailure) {
  UiDispatcher dispatcher;
  const DWORD uiThread = ::GetCurrentThreadId();
  std::vector<int> order;
  std::vector<DWORD> threads;
  dispatcher.Post([&] { order.push_back(1); });
  dispatcher.Post([] { throw std::runtime_error("dropped"); });
  std::thread worker([&] {
    dispatcher.Post([&] {
      order.push_back(2);
      threads.push_back(::GetCurrentThreadId());
    });
  });
  worker.join();
  EXPECT_TRUE(order.empty()) << "nothing runs before the message loop does";
  EXPECT_EQ(dispatcher.Pending(), 3u);
  RecordingHost::Pump(50);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(threads, (std::vector<DWORD>{uiThread}));
  EXPECT_EQ(dispatcher.Pending(), 0u);
}

TEST(UiDispatcherTest, WorkMayPostMoreWork) {
  UiDispatcher dispatcher;
  int runs = 0;
  std::function<void()> again = [&] {
    if (++runs < 3)
      dispatcher.Post(again);
  };
  dispatcher.Post(again);
  RecordingHost::Pump(50);
  EXPECT_EQ(runs, 3);
}

TEST(UiDispatcherTest, TimersFollowTheirEnabledStateAndInterval) {
  UiDispatcher dispatcher;
  ui::Timer timer("Timer1", 20, true);
  int ticks = 0;
  timer.OnTimer = [&](ui::Component&) { ++ticks; };
  dispatcher.BindTimer(timer);
  RecordingHost::Pump(300);
  EXPECT_GE(ticks, 3);

  timer.SetEnabled(false);
  const int stopped = ticks;
  RecordingHost::Pump(150);
  EXPECT_EQ(ticks, stopped);

  timer.SetInterval(0);
  timer.SetEnabled(true);  // an interval of 0 never fires
  RecordingHost::Pump(150);
  EXPECT_EQ(ticks, stopped);

  timer.SetInterval(20);
  RecordingHost::Pump(200);
  EXPECT_GT(ticks, stopped);
}

TEST(UiDispatcherTest, ATickThatThrowsKeepsTheTimerRunning) {
  UiDispatcher dispatcher;
  ui::Timer timer("Timer2", 20, true);
  int ticks = 0;
  timer.OnTimer = [&](ui::Component&) {
    ++ticks;
    throw std::runtime_error("swallowed");
  };
  dispatcher.BindTimer(timer);
  RecordingHost::Pump(200);
  EXPECT_GE(ticks, 2);
}

TEST(UiDispatcherTest, ADestroyedTimerIsForgotten) {
  UiDispatcher dispatcher;
  int ticks = 0;
  {
    ui::Timer timer("Timer1", 10, true);
    timer.OnTimer = [&](ui::Component&) { ++ticks; };
    dispatcher.BindTimer(timer);
    EXPECT_EQ(dispatcher.BoundTimers(), 1u);
  }
  EXPECT_EQ(dispatcher.BoundTimers(), 0u);
  RecordingHost::Pump(100);
  EXPECT_EQ(ticks, 0);
}

TEST(Win32CursorTest, TheHourglassLetsPaintingThroughButNoPostedWorkOrTicks) {
  UiDispatcher dispatcher;
  ui::Timer timer("Timer1", 10, true);
  int ticks = 0;
  timer.OnTimer = [&](ui::Component&) { ++ticks; };
  dispatcher.BindTimer(timer);
  bool ran = false;
  dispatcher.Post([&] { ran = true; });
  ::Sleep(50);
  Win32Cursor cursor;
  {
    ui::iCursorState busy(cursor);  // a complete load starts here
    EXPECT_EQ(cursor.Current(), ui::Cursor::HourGlass);
    EXPECT_NE(cursor.Override(), nullptr);
    EXPECT_FALSE(ran) << "posted work (a viewer's deletion, say) waits for the host's loop";
    EXPECT_EQ(ticks, 0);
  }
  EXPECT_EQ(cursor.Current(), ui::Cursor::Default);
  EXPECT_EQ(cursor.Override(), nullptr);
  RecordingHost::Pump(50);
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace brontel::win32::testing
