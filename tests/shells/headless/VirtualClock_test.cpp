#include "shells/headless/VirtualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace brontel::headless {
namespace {

struct Tick {
  std::string timer;
  std::uint64_t at;
  friend bool operator==(const Tick&, const Tick&) = default;
};

class VirtualClockTest : public ::testing::Test {
 protected:
  void Record(ui::Timer& timer) {
    timer.OnTimer = [this](ui::Component& sender) {
      ticks.push_back({sender.name(), clock.Now()});
    };
    clock.Bind(timer);
  }

  VirtualClock clock;
  std::vector<Tick> ticks;
};

TEST_F(VirtualClockTest, FiresEveryDueTickInTimeOrder) {
  ui::Timer fast("fast", 300, true);
  ui::Timer slow("slow", 500, true);
  Record(fast);
  Record(slow);
  clock.Advance(1000);
  EXPECT_EQ(ticks,
            (std::vector<Tick>{
                {"fast", 300}, {"slow", 500}, {"fast", 600}, {"fast", 900}, {"slow", 1000}}));
  EXPECT_EQ(clock.Now(), 1000u);
  EXPECT_EQ(clock.TicksFired(), 5u);
}

TEST_F(VirtualClockTest, TimersDueTogetherFireInTheOrderBound) {
  ui::Timer second("second", 100, true);
  ui::Timer first("first", 100, true);
  Record(second);
  Record(first);
  clock.Advance(100);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"second", 100}, {"first", 100}}));
}

TEST_F(VirtualClockTest, DisabledAndZeroIntervalTimersNeverFire) {
  ui::Timer off("off", 100, false);
  ui::Timer zero("zero", 0, true);
  Record(off);
  Record(zero);
  clock.Advance(10'000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_FALSE(clock.FireNext());
  off.SetEnabled(true);  // the countdown starts now
  clock.Advance(150);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"off", 10'100}}));
}

TEST_F(VirtualClockTest, AChangedIntervalRestartsTheCountdown) {
  ui::Timer poll("Timer2", 1000, true);
  Record(poll);
  clock.Advance(900);
  poll.SetInterval(100);  // the poll timer's restart: 100 and then 1000 again
  poll.SetInterval(1000);
  clock.Advance(999);
  EXPECT_TRUE(ticks.empty());
  clock.Advance(1);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"Timer2", 1900}}));
  poll.SetInterval(1000);  // the same value restarts nothing
  clock.Advance(1000);
  EXPECT_EQ(ticks.back(), (Tick{"Timer2", 2900}));
}

TEST_F(VirtualClockTest, AHandlerMayRetuneItsOwnTimerBetweenTicks) {
  ui::Timer reload("Timer1", 50, true);
  bool first = true;
  reload.OnTimer = [&](ui::Component&) {
    ticks.push_back({"Timer1", clock.Now()});
    reload.SetEnabled(false);
    if (first)
      reload.SetInterval(400);
    first = false;
    reload.SetEnabled(true);
  };
  clock.Bind(reload);
  clock.Advance(900);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"Timer1", 50}, {"Timer1", 450}, {"Timer1", 850}}));
}

TEST_F(VirtualClockTest, ADestroyedTimerUnbindsItselfEvenFromItsOwnTick) {
  auto doomed = std::make_unique<ui::Timer>("doomed", 10, true);
  ui::Timer other("other", 15, true);
  Record(other);
  doomed->OnTimer = [&](ui::Component&) {
    ticks.push_back({"doomed", clock.Now()});
    doomed.reset();
  };
  clock.Bind(*doomed);
  clock.Advance(40);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"doomed", 10}, {"other", 15}, {"other", 30}}));
}

TEST_F(VirtualClockTest, FireNextJumpsToTheNextTick) {
  ui::Timer timer("t", 250, true);
  Record(timer);
  EXPECT_EQ(clock.NextDue(), 250u);
  EXPECT_TRUE(clock.FireNext());
  EXPECT_EQ(clock.Now(), 250u);
  EXPECT_EQ(ticks.size(), 1u);
  clock.Unbind(timer);
  EXPECT_FALSE(clock.FireNext());
}

TEST(VirtualClockLifetimeTest, TimersMayOutliveTheClock) {
  ui::Timer timer("t", 10, true);
  {
    VirtualClock clock;
    clock.Bind(timer);
  }
  timer.SetInterval(20);  // the clock's observer is gone: nothing to call
  SUCCEED();
}

}  // namespace
}  // namespace brontel::headless
