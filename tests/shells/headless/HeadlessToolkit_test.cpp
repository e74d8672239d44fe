#include "shells/headless/HeadlessToolkit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "shells/headless/RecordingCanvas.h"

namespace brontel::headless {
namespace {

TEST(QueuedPosterTest, RunsWorkInOrderIncludingWorkPostedMeanwhile) {
  QueuedPoster poster;
  std::vector<int> order;
  poster.Post([&] {
    order.push_back(1);
    poster.Post([&] { order.push_back(3); });
  });
  poster.Post([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());  // nothing runs before the drain
  EXPECT_EQ(poster.Pending(), 2u);
  EXPECT_EQ(poster.RunPending(), 3u);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(poster.RunPending(), 0u);
}

TEST(QueuedPosterTest, AcceptsPostsFromManyThreadsAtOnce) {
  QueuedPoster poster;
  std::atomic<int> ran{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i)
        poster.Post([&] { ++ran; });
    });
  }
  std::size_t drained = 0;
  while (drained < 2000)
    drained += poster.RunPending();  // drain while they post
  for (std::thread& thread : threads)
    thread.join();
  drained += poster.RunPending();
  EXPECT_EQ(drained, 2000u);
  EXPECT_EQ(ran.load(), 2000);
}

TEST(QueuedPosterTest, AFailingPieceLeavesTheRestQueued) {
  QueuedPoster poster;
  int ran = 0;
  poster.Post([] { throw std::runtime_error("boom"); });
  poster.Post([&] { ++ran; });
  EXPECT_THROW(poster.RunPending(), std::runtime_error);
  EXPECT_EQ(poster.Pending(), 1u);
  poster.RunPending();
  EXPECT_EQ(ran, 1);
}

TEST(HeadlessToolkitTest, HostWindowsAreRecordedPerHandle) {
  HeadlessToolkit toolkit;
  auto host = toolkit.AttachHostWindow(42);
  EXPECT_EQ(host->NativeHandle(), 42u);
  EXPECT_TRUE(host->HasParentWindow());
  toolkit.Host(42).SetHasParentWindow(false);
  EXPECT_FALSE(host->HasParentWindow());
  host->SendClose(1, 1);
  host->SendKeyDown(ui::vk::F5, 0);
  host->SendChar('3', 0);
  host->TakeFocus();
  host->TypeKey('N');
  const RecordingHostWindow& seen = toolkit.Host(42);
  EXPECT_EQ(seen.Messages(), (std::vector<HostMessage>{{ui::msg::Close, 1, 1},
                                                       {ui::msg::KeyDown, ui::vk::F5, 0},
                                                       {ui::msg::Char, '3', 0}}));
  EXPECT_EQ(seen.FocusRequests(), 1);
  EXPECT_EQ(seen.TypedKeys(), (std::vector<ui::KeyCode>{'N'}));
  // Focus first, then the key as typed: down and up.
  ASSERT_EQ(seen.Events().size(), 6u);
  EXPECT_EQ(seen.Events()[3], (HostMessage{0, 0, 0}));
  EXPECT_EQ(seen.Events()[4], (HostMessage{ui::msg::KeyDown, 'N', 0}));
  EXPECT_EQ(seen.Events()[5], (HostMessage{ui::msg::KeyUp, 'N', 0}));
  EXPECT_TRUE(toolkit.Host(7).Messages().empty());
}

TEST(HeadlessToolkitTest, TimersClipboardBeepAndCursor) {
  HeadlessToolkit toolkit;
  int ticks = 0;
  auto timer = toolkit.CreateTimer("Timer2", 1000, true);
  timer->OnTimer = [&](ui::Component&) { ++ticks; };
  toolkit.clock().Advance(3000);
  EXPECT_EQ(ticks, 3);
  toolkit.clipboard().SetText("copied");
  EXPECT_EQ(toolkit.memoryClipboard().Text(), "copied");
  toolkit.Beep();
  toolkit.Beep();
  EXPECT_EQ(toolkit.Beeps(), 2);
  {
    ui::iCursorState wait(toolkit.cursor());
    EXPECT_EQ(toolkit.cursor().Current(), ui::Cursor::HourGlass);
  }
  EXPECT_EQ(toolkit.cursor().Current(), ui::Cursor::Default);
  EXPECT_EQ(toolkit.recordingCursor().ProcessMessagesCalls(), 1);
  EXPECT_EQ(toolkit.recordingCursor().History(),
            (std::vector<ui::Cursor>{ui::Cursor::HourGlass, ui::Cursor::Default}));
}

TEST(RecordingCanvasTest, FillsCoverEarlierCellsAndRunsKeepTheirAttributes) {
  RecordingCanvas canvas(ui::Size{7, 14});
  const ui::TextAttr red{ui::clWhite, ui::clRed, ui::FontStyle::Bold};
  canvas.DrawTextRun(ui::Point{14, 0}, "abc", red);
  EXPECT_EQ(canvas.TextFrom(ui::Point{14, 0}), "abc");
  EXPECT_EQ(canvas.TextFrom(ui::Point{21, 0}), "bc");
  EXPECT_EQ(canvas.CellAt(ui::Point{28, 0})->attr, red);
  canvas.SetBrushColor(ui::clWindow);
  canvas.FillRect(ui::Rect{21, 0, 28, 14});  // covers "b" only
  EXPECT_EQ(canvas.TextFrom(ui::Point{14, 0}), "a");
  EXPECT_TRUE(canvas.CellAt(ui::Point{28, 0}));
  EXPECT_EQ(canvas.FillColorAt(ui::Point{22, 5}), ui::clWindow);
  EXPECT_FALSE(canvas.FillColorAt(ui::Point{0, 0}));
  canvas.SetPenColor(ui::clBlack);
  canvas.MoveTo(ui::Point{1, 1});
  canvas.LineTo(ui::Point{1, 9});
  const auto lines = canvas.OpsOf(CanvasOp::Kind::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].from, (ui::Point{1, 1}));
  EXPECT_EQ(lines[0].to, (ui::Point{1, 9}));
  canvas.Reset();
  EXPECT_TRUE(canvas.Ops().empty());
  EXPECT_FALSE(canvas.CellAt(ui::Point{14, 0}));
}

}  // namespace
}  // namespace brontel::headless
