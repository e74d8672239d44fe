#include "shells/qt/QtTimerDriver.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <stdexcept>

#include "tests/shells/qt/QtTestSupport.h"

namespace brontel::qt {
namespace {

class QtTimerDriverTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::TestApplication(); }
  testing::ApplicationFirst application;
  QtTimerDriver driver;
};

TEST_F(QtTimerDriverTest, QTimerFollowsTheModelsIntervalAndEnabledState) {
  ui::Timer timer("Timer1", 50, false);
  driver.Bind(timer);
  const QTimer* qtimer = driver.QTimerOf(timer);
  ASSERT_NE(qtimer, nullptr);
  EXPECT_FALSE(qtimer->isActive());
  timer.SetEnabled(true);
  EXPECT_TRUE(qtimer->isActive());
  EXPECT_EQ(qtimer->interval(), 50);
  timer.SetInterval(400);
  EXPECT_EQ(qtimer->interval(), 400);
  timer.SetInterval(0);  // never fires
  EXPECT_FALSE(qtimer->isActive());
}

TEST_F(QtTimerDriverTest, TicksRunTheHandlerAndSwallowItsFailures) {
  ui::Timer timer("Timer2", 5, true);
  int ticks = 0;
  timer.OnTimer = [&](ui::Component&) {
    ++ticks;
    throw std::runtime_error("a failing tick");
  };
  driver.Bind(timer);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
  // A handler that stops its timer is not called again.
  timer.OnTimer = [&](ui::Component& sender) {
    ++ticks;
    static_cast<ui::Timer&>(sender).SetEnabled(false);
  };
  const int before = ticks;
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > before; }, 2000));
  const int stopped = ticks;
  QTest::qWait(30);
  EXPECT_EQ(ticks, stopped);
}

TEST_F(QtTimerDriverTest, DestroyedTimersUnbindThemselves) {
  auto timer = std::make_unique<ui::Timer>("Timer1", 5, true);
  int ticks = 0;
  timer->OnTimer = [&](ui::Component&) { ++ticks; };
  driver.Bind(*timer);
  driver.Bind(*timer);  // binding again keeps one binding
  EXPECT_EQ(driver.BoundTimers(), 1u);
  timer.reset();
  EXPECT_EQ(driver.BoundTimers(), 0u);
  QTest::qWait(30);
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace brontel::qt
