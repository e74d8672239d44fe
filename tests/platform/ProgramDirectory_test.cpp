#include "platform/ProgramDirectory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/ScopedVariable.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::platform {
namespace {

TEST(WritableProgramDirectory, FollowsXdgConfigHomeThenHome) {
  {
    testing::ScopedVariable xdg("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(WritableProgramDirectory(), "/tmp/cfg/brontel/");
  }
  {
    testing::ScopedVariable xdg("XDG_CONFIG_HOME", nullptr);
    testing::ScopedVariable home("HOME", "/home/someone");
    EXPECT_EQ(WritableProgramDirectory(), "/home/someone/.config/brontel/");
  }
  {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    testing::ScopedVariable xdg("XDG_CONFIG_HOME", "relative");
    testing::ScopedVariable home("HOME", "/h");
    EXPECT_EQ(WritableProgramDirectory(), "/h/.config/brontel/");
  }
  {
    testing::ScopedVariable xdg("XDG_CONFIG_HOME", nullptr);
    testing::ScopedVariable home("HOME", nullptr);
    EXPECT_EQ(WritableProgramDirectory(), "");
  }
}

TEST(HostExecutablePath, NamesThisTestProgram) {
  const std::string path = HostExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(std::filesystem::path(path).filename(), "platform_tests");
}

TEST(EnsureDirectory, CreatesNestedDirectoriesAndRefusesFiles) {
  const testing::ScratchFolder folder;
  const auto root = folder.Path() / "root";
  EXPECT_TRUE(EnsureDirectory((root / "a" / "b").string() + "/"));
  EXPECT_TRUE(std::filesystem::is_directory(root / "a" / "b"));
  EXPECT_TRUE(EnsureDirectory((root / "a").string()));
  EXPECT_FALSE(EnsureDirectory(folder.Write("root/file", "")));
  EXPECT_FALSE(EnsureDirectory(""));
}

}  // namespace
}  // namespace brontel::platform
