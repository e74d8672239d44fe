#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/reliability/support/ScenarioFixture.h"
#include "ui/LineStore.h"
#include "viewer/TailText.h"

namespace brontel::reliability {
namespace {

namespace fs = std::filesystem;

class PathTest : public ScenarioFixture {
 protected:
  void StartWithLines(int count) {
    for (int i = 0; i < count; ++i)
      writer.AppendNextLine();
    OpenViewer();
    RunChecked(200);
    ASSERT_TRUE(ViewMatchesFile(*form, FileBytes(logPath)));
  }

  // Loads now, whatever the snapshot says.
  void ForceReload() {
    form->CheckFileChanged();
    harness.Pump(400);
  }

  void ExpectNotFoundViewKeepingTheHistory(std::size_t historyBefore) {
    const Lines tail = ShownTailLines(*form);
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_EQ(tail[0], ui::LineStore::ExpandTabs(kNotFoundLine));
    EXPECT_TRUE(ViewIsWellFormed(*form));
    EXPECT_EQ(form->viewerState().history.Count(), historyBefore);
  }

  // Writes the log afresh and expects the viewer to show it within a few seconds.
  void ExpectRecoveryWith(const std::string& bytes) {
    folder.Write(logPath, bytes);
    for (int i = 0; i < 60 && !ViewMatchesFile(*form, bytes); ++i) {
      harness.Pump(100);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(ViewMatchesFile(*form, bytes));
    EXPECT_TRUE(form->viewerState().history.Contains("E   back again"));
  }
};

TEST_F(PathTest, FileReplacedByADirectoryShowsTheNotFoundLineThenTheNewFile) {
  StartWithLines(100);
  const std::size_t history = form->viewerState().history.Count();
  fs::remove(logPath);
  fs::create_directory(logPath);
  fs::create_directory(logPath + "/inner");
  harness.Pump(1500);
  ForceReload();
  ExpectNotFoundViewKeepingTheHistory(history);
  fs::remove_all(logPath);
  ExpectRecoveryWith("E   back again\n");
}

TEST_F(PathTest, FileWithoutReadPermissionShowsTheNotFoundLine) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "a superuser reads files without read permission; the named pipe test "
                    "covers a file that cannot be opened";
  StartWithLines(100);
  const std::size_t history = form->viewerState().history.Count();
  fs::permissions(logPath, fs::perms::none);
  ForceReload();
  ExpectNotFoundViewKeepingTheHistory(history);
  fs::permissions(logPath, fs::perms::owner_read | fs::perms::owner_write);
  ExpectRecoveryWith("E   back again\n");
}

TEST_F(PathTest, FileThatCannotBeOpenedShowsTheNotFoundLine) {
  // Works for a superuser too: a named pipe is found but never opened for reading.
  StartWithLines(100);
  const std::size_t history = form->viewerState().history.Count();
  fs::remove(logPath);
  ASSERT_EQ(::mkfifo(logPath.c_str(), 0600), 0);
  ForceReload();
  ExpectNotFoundViewKeepingTheHistory(history);
  fs::remove(logPath);
  ExpectRecoveryWith("E   back again\n");
}

TEST_F(PathTest, PathThatCannotBeLookedAtKeepsTheViewLikeAMissingFile) {
  StartWithLines(100);
  const Lines before = ShownTailLines(*form);
  fs::remove(logPath);
  fs::create_symlink(logPath, logPath);  // every look fails: too many levels of links
  ForceReload();
  harness.Pump(2000);
  EXPECT_EQ(ShownTailLines(*form), before);
  fs::remove(logPath);
  ExpectRecoveryWith("E   back again\n");
}

TEST_F(PathTest, PathThatVanishesWithItsDirectoryIsShownAgainWhenItReturns) {
  StartWithLines(300);
  const std::string before = ShownTailLines(*form).back();
  fs::remove_all(folder.Path());
  harness.Pump(3000);
  // A missing file leaves the view as it was; nothing crashes while the watch has lost its
  // directory.
  EXPECT_TRUE(ViewIsWellFormed(*form));
  EXPECT_EQ(ShownTailLines(*form).back(), before);
  ForceReload();
  fs::create_directories(folder.Path());
  ExpectRecoveryWith("plain\nE   back again\n");
}

}  // namespace
}  // namespace brontel::reliability
