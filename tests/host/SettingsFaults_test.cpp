// Settings faults seen from a host: damaged settings files, hosts in several processes that
// start and close viewers on one settings folder at the same moment, and folders that cannot
// be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/PluginHost.h"
#include "tests/support/ScratchFolder.h"

extern char** environ;

namespace brontel::host {
namespace {

namespace fs = std::filesystem;

constexpr int kForceShow = 16;
void* const kParent = reinterpret_cast<void*>(0x4711);
// A child process of the concurrent tests finds its settings folder here.
constexpr const char* kChildFolderVariable = "BRONTEL_TEST_CHILD_FOLDER";

// Opens a viewer on `log`, lets its first reload run (unless told not to) and closes it again;
// false when the viewer was declined.
bool OpenAndClose(PluginHost& host, const fs::path& log, int flags, bool reload = true) {
  void* viewer = host.ListLoad(kParent, log.c_str(), flags);
  if (viewer == nullptr)
    return false;
  host.RunMessageLoop(reload ? 60 : 0);
  host.ListCloseWindow(viewer);
  host.RunMessageLoop(0);
  return true;
}

TEST(SettingsCorpusThroughListLoad, EveryFileGivesAViewer) {
  testing::ScratchFolder folder;
  const fs::path log = folder.Write("app.log", "E   error\nW   warning\nplain\n");
  TheHost().ListSetDefaultParams(folder.File("wincmd.ini"));
  int files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(BRONTEL_SETTINGS_CORPUS_DIR)) {
    folder.Write("brontel.ini", folder.Read(entry.path()));
    EXPECT_TRUE(OpenAndClose(TheHost(), log, kForceShow, files % 16 == 0)) << entry.path();
    ++files;
  }
  EXPECT_GT(files, 100);
}

TEST(SettingsCorpusThroughListLoad, ABadLayoutValueStillGivesAViewer) {
  testing::ScratchFolder folder;
  const fs::path log = folder.Write("app.log", "plain\n");
  folder.Write("brontel.ini", "[EXT]\r\n.log=10\r\n[Layouts]\r\nCount=1\r\nLayout0=1|x|\r\n");
  TheHost().ListSetDefaultParams(folder.File("wincmd.ini"));
  EXPECT_TRUE(OpenAndClose(TheHost(), log, kForceShow));
  EXPECT_TRUE(OpenAndClose(TheHost(), log, 0));
}

TEST(UnwritableSettingsFolder, LogFilesOpenWithTheDefaultAssociations) {
  testing::ScratchFolder folder;
  const fs::path log = folder.Write("app.log", "plain\n");
  // A file in the folder's place: no brontel.ini can be made there, not even by a superuser.
  const fs::path settings = folder.Write("locked", "x");
  TheHost().ListSetDefaultParams((settings / "wincmd.ini").string());
  EXPECT_TRUE(OpenAndClose(TheHost(), log, 0));
  EXPECT_FALSE(OpenAndClose(TheHost(), folder.Write("app.txt", "plain\n"), 0));
  EXPECT_EQ(folder.Read("locked"), "x");
}

// What one host process does in the concurrent tests: a first run on the shared folder, one
// viewer on an associated file without the force flag, closed again. Skipped unless started so.
TEST(ConcurrentHosts, OneChild) {
  const char* folder = std::getenv(kChildFolderVariable);
  if (folder == nullptr)
    GTEST_SKIP() << "started by ConcurrentHosts only";
  TheHost().ListSetDefaultParams((fs::path(folder) / "wincmd.ini").string());
  ASSERT_TRUE(OpenAndClose(TheHost(), fs::path(folder) / "app.log", 0)) << "not associated";
}

// Starts `count` host processes on `folder` at once; how many of them failed.
int RunChildren(const fs::path& folder, int count) {
  const std::string variable = std::string(kChildFolderVariable) + "=" + folder.string();
  std::vector<char*> environment{const_cast<char*>(variable.c_str())};
  for (char** entry = environ; *entry != nullptr; ++entry)
    environment.push_back(*entry);
  environment.push_back(nullptr);
  std::string program = fs::read_symlink("/proc/self/exe").string();
  std::string filter = "--gtest_filter=ConcurrentHosts.OneChild";
  char* argv[] = {program.data(), filter.data(), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<pid_t> children;
  for (int i = 0; i < count; ++i) {
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), &quiet, nullptr, argv, environment.data()) == 0)
      children.push_back(child);
  }
  posix_spawn_file_actions_destroy(&quiet);
  int failed = count - static_cast<int>(children.size());
  for (const pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      ++failed;
  }
  return failed;
}

// Eight hosts starting for the first time on one fresh settings folder and closing their
// viewers at the same moment: each accepts its .log file, and the file ends with the default
// associations and every option key, none lost to another process's rewrite.
TEST(ConcurrentHosts, FirstRunsAndClosesAtOnceLoseNothing) {
  constexpr int kTrials = 6;
  constexpr int kHosts = 8;
  const std::string expected =
      "[EXT]\r\n.log=10\r\n.=10\r\n[Preferences]\r\nOptions.AutoFollowMode=1\r\n"
      "Options.LastCycleName=\r\nOptions.AutoCycle=0\r\nOptions.LoadCompleteFile=0\r\n"
      "Options.Active=1\r\nOptions.LastBufferSizeIndex=2\r\nOptions.LastHistMaxLinesIndex=1\r\n"
      "Options.LastFolder=\r\nOptions.StayOnTop=0\r\nOptions.WindowState=0\r\n"
      "Options.AssociatedExts=.logs\r\n[Layouts]\r\nCount=0\r\n[Filter]\r\nTypes=\r\n"
      "Expression=\r\nHideMatching=0\r\nIgnoreCase=0\r\nContext=0\r\n";
  const auto start = std::chrono::steady_clock::now();
  for (int trial = 0; trial < kTrials; ++trial) {
    testing::ScratchFolder folder;
    folder.Write("app.log", "E   error\nplain\n");
    EXPECT_EQ(RunChildren(folder.Path(), kHosts), 0) << "trial " << trial;
    EXPECT_EQ(folder.Read("brontel.ini"), expected) << "trial " << trial;
  }
  const auto took = std::chrono::steady_clock::now() - start;
  std::printf(
      "%d trials of %d hosts at once in %lld ms\n", kTrials, kHosts,
      static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

}  // namespace
}  // namespace brontel::host
