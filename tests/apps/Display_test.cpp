#include "apps/brontel/Display.h"

#include <gtest/gtest.h>

#include "tests/support/ScratchFolder.h"

namespace brontel::app {
namespace {

TEST(DisplayTest, ALocalDisplayNeedsItsSocket) {
  testing::ScratchFolder sockets;
  sockets.Write("X5", "");
  const std::string folder = sockets.Path().string();
  EXPECT_TRUE(X11DisplayReachable(":5", folder));
  EXPECT_TRUE(X11DisplayReachable(":5.0", folder));
  EXPECT_TRUE(X11DisplayReachable("unix:5", folder));
  // A display that is set but whose server is gone: the toolkit would abort on it.
  EXPECT_FALSE(X11DisplayReachable(":57", folder));
  EXPECT_FALSE(X11DisplayReachable("", folder));
}

TEST(DisplayTest, RemoteDisplaysCannotBeCheckedAndCount) {
  EXPECT_TRUE(X11DisplayReachable("localhost:10.0", "/nonexistent"));
  EXPECT_TRUE(X11DisplayReachable("build-host:0", "/nonexistent"));
  EXPECT_TRUE(X11DisplayReachable(":offscreen", "/nonexistent"));
}

}  // namespace
}  // namespace brontel::app
