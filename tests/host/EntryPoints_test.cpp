#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/PluginHost.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::host {
namespace {

namespace fs = std::filesystem;

constexpr int kFindFirst = kSearchFindFirst;
void* const kParent = reinterpret_cast<void*>(0x4711);

// Every test gets its own directory for the host's settings and the logs, and closes the
// viewers it opened so that the module frees them.
class EntryPointsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(directory_ / "config");
    ::setenv("XDG_CONFIG_HOME", (directory_ / "config").c_str(), 1);
    previousDirectory_ = fs::current_path();
  }
  void TearDown() override {
    for (void* viewer : opened_)
      host_.ListCloseWindow(viewer);
    host_.RunMessageLoop(0);
    fs::current_path(previousDirectory_);
  }

  // The host's settings file lives in the test directory; answers the plug-in's beside it.
  fs::path UseSettingsDirectory() {
    host_.ListSetDefaultParams((directory_ / "wincmd.ini").string());
    return directory_ / "brontel.ini";
  }
  void* Load(const fs::path& file, int flags = 0) {
    void* viewer = host_.ListLoad(kParent, file.c_str(), flags);
    if (viewer != nullptr)
      opened_.push_back(viewer);
    return viewer;
  }
  void Close(void* viewer) {
    host_.ListCloseWindow(viewer);
    std::erase(opened_, viewer);
    host_.RunMessageLoop(0);
  }

  PluginHost& host_ = TheHost();
  testing::ScratchFolder folder_;
  const fs::path directory_ = folder_.Path();
  fs::path previousDirectory_;
  std::vector<void*> opened_;
};

TEST_F(EntryPointsTest, AnEmptyDefaultNameCreatesNoSettingsFile) {
  fs::current_path(directory_);
  host_.ListSetDefaultParams(std::string());
  host_.ListSetDefaultParams(static_cast<const void*>(nullptr));
  EXPECT_FALSE(fs::exists(directory_ / "brontel.ini"));
  EXPECT_FALSE(fs::exists(directory_ / "config" / "brontel" / "brontel.ini"));
}

TEST_F(EntryPointsTest, ABareFileNamePutsTheSettingsInTheWorkingDirectory) {
  fs::current_path(directory_);
  host_.ListSetDefaultParams(std::string("wincmd.ini"));
  EXPECT_EQ(folder_.Read("brontel.ini"), "[EXT]\r\n.log=10\r\n.=10\r\n");
}

TEST_F(EntryPointsTest, AMissingSettingsFileGetsTheDefaultAssociations) {
  const fs::path settings = UseSettingsDirectory();
  EXPECT_EQ(folder_.Read(settings), "[EXT]\r\n.log=10\r\n.=10\r\n");
  folder_.Write("app.log", "one\r\ntwo\r\n");
  folder_.Write("app.txt", "one\r\n");
  EXPECT_NE(Load(directory_ / "app.log"), nullptr);
  EXPECT_EQ(Load(directory_ / "app.txt"), nullptr);
  EXPECT_NE(Load(directory_ / "app.txt", kForceShow), nullptr);
}

TEST_F(EntryPointsTest, AnExistingSettingsFileIsLeftUntouched) {
  const fs::path settings = directory_ / "brontel.ini";
  folder_.Write(settings, "[Preferences]\nOptions.Active=1\n");
  const auto written = fs::last_write_time(settings);
  UseSettingsDirectory();
  EXPECT_EQ(folder_.Read(settings), "[Preferences]\nOptions.Active=1\n");
  EXPECT_EQ(fs::last_write_time(settings), written);
}

TEST_F(EntryPointsTest, UnknownAndClosedHandlesAreIgnored) {
  UseSettingsDirectory();
  host_.ListCloseWindow(nullptr);
  host_.ListCloseWindow(reinterpret_cast<void*>(0x1234));
  EXPECT_EQ(host_.ListSearchText(reinterpret_cast<void*>(0x1234), "x", 0), 1);
  folder_.Write("app.log", "needle\r\n");
  void* viewer = Load(directory_ / "app.log");
  ASSERT_NE(viewer, nullptr);
  host_.RunMessageLoop(100);
  EXPECT_EQ(host_.ListSearchText(viewer, "needle", 0), 0);
  Close(viewer);
  host_.ListCloseWindow(viewer);
  EXPECT_EQ(host_.ListSearchText(viewer, "needle", 0), 1);
}

TEST_F(EntryPointsTest, SearchesWithAndWithoutFindFirstAgree) {
  UseSettingsDirectory();
  folder_.Write("app.log", "alpha\r\nneedle one\r\nbeta\r\nneedle two\r\n");
  void* withFindFirst = Load(directory_ / "app.log");
  void* without = Load(directory_ / "app.log");
  ASSERT_NE(withFindFirst, nullptr);
  ASSERT_NE(without, nullptr);
  ASSERT_NE(withFindFirst, without);
  host_.RunMessageLoop(100);
  ASSERT_GT(host_.SelectionOf(without).textLength, 0);

  for (int round = 0; round < 3; ++round) {
    const int first = host_.ListSearchText(withFindFirst, "NEEDLE", kFindFirst);
    const int plain = host_.ListSearchText(without, "NEEDLE", 0);
    EXPECT_EQ(first, 0) << round;
    EXPECT_EQ(plain, first) << round;
    EXPECT_EQ(host_.SelectionOf(withFindFirst), host_.SelectionOf(without)) << round;
    EXPECT_EQ(host_.SelectionOf(without).length, 6) << round;
  }
  EXPECT_EQ(host_.ListSearchText(without, "NEEDLE", 2), 1);  // match case
  EXPECT_EQ(host_.ListSearchText(without, "absent", 0), 1);
  EXPECT_EQ(host_.ListSearchText(without, nullptr, 0), 1);
}

TEST_F(EntryPointsTest, ClosingOneOfTwoViewersKeepsTheOther) {
  UseSettingsDirectory();
  folder_.Write("a.log", "apple\r\n");
  folder_.Write("b.log", "banana\r\n");
  void* a = Load(directory_ / "a.log");
  void* b = Load(directory_ / "b.log");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  host_.RunMessageLoop(100);
  EXPECT_EQ(host_.ListSearchText(a, "apple", 0), 0);
  EXPECT_EQ(host_.ListSearchText(a, "banana", 0), 1);
  EXPECT_EQ(host_.ListSearchText(b, "banana", 0), 0);
  Close(a);
  EXPECT_EQ(host_.ListSearchText(a, "apple", 0), 1);
  EXPECT_EQ(host_.ListSearchText(b, "banana", 0), 0);
}

TEST_F(EntryPointsTest, ClosingWritesTheViewersOptions) {
  const fs::path settings = UseSettingsDirectory();
  folder_.Write("app.log", "line\r\n");
  void* viewer = Load(directory_ / "app.log");
  ASSERT_NE(viewer, nullptr);
  host_.RunMessageLoop(100);
  EXPECT_EQ(folder_.Read(settings).find("Options."), std::string::npos);
  Close(viewer);
  const std::string written = folder_.Read(settings);
  EXPECT_NE(written.find("Options.AutoFollowMode="), std::string::npos) << written;
  EXPECT_EQ(written.rfind("[EXT]\r\n.log=10\r\n.=10\r\n", 0), 0u) << written;
}

TEST_F(EntryPointsTest, AViewerWhoseOptionsCannotBeSavedIsStillForgotten) {
  const fs::path settings = UseSettingsDirectory();
  folder_.Write("app.log", "line\r\n");
  void* viewer = Load(directory_ / "app.log");
  ASSERT_NE(viewer, nullptr);
  host_.RunMessageLoop(100);
  fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read);
  Close(viewer);
  EXPECT_EQ(host_.ListSearchText(viewer, "line", 0), 1);
  EXPECT_EQ(folder_.Read(settings), "[EXT]\r\n.log=10\r\n.=10\r\n");
  void* next = Load(directory_ / "app.log");  // the host keeps going
  ASSERT_NE(next, nullptr);
  host_.RunMessageLoop(100);
  EXPECT_EQ(host_.ListSearchText(next, "line", 0), 0);
}

TEST_F(EntryPointsTest, NullArgumentsAreDeclined) {
  UseSettingsDirectory();
  EXPECT_EQ(host_.ListLoad(kParent, nullptr, 0), nullptr);
  EXPECT_EQ(host_.ListLoad(kParent, nullptr, kForceShow), nullptr);
  EXPECT_EQ(host_.ListSearchText(nullptr, nullptr, 0), 1);
}

// Whatever the file is, the host gets an answer at once and survives the viewer's life.
void ExpectHarmless(PluginHost& host, void* viewer) {
  host.RunMessageLoop(2000);
  if (viewer != nullptr) {
    EXPECT_EQ(host.ListSearchText(viewer, "\x01", 0), 1);
    host.RunMessageLoop(500);
  }
}

TEST_F(EntryPointsTest, FilesThatAreNoLogsDoNotHarmTheHost) {
  UseSettingsDirectory();
  const fs::path fifo = directory_ / "pipe.log";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directories(directory_ / "folder.log");
  const std::string longName = (directory_ / std::string(100000, 'x')).string() + ".log";

  for (const fs::path& file : {fifo, directory_ / "folder.log", fs::path("/dev/null"),
                               fs::path("/dev/zero"), fs::path(longName)}) {
    for (int flags : {0, kForceShow}) {
      void* viewer = Load(file, flags);
      ExpectHarmless(host_, viewer);
    }
  }
}

TEST_F(EntryPointsTest, BinaryFilesAreShownAndAnswerSearches) {
  UseSettingsDirectory();
  std::string binary;
  for (int i = 0; i < 70000; ++i)
    binary.push_back(static_cast<char>((i * 131) % 256));
  binary += std::string(5000, '\0') + "\r\nmarker\r\n";
  folder_.Write("core.log", binary);
  void* viewer = Load(directory_ / "core.log");
  ASSERT_NE(viewer, nullptr);
  host_.RunMessageLoop(500);
  // Text-mode reading ends at the first Ctrl+Z, so what is shown depends on the bytes; the
  // viewer must show something and answer searches.
  EXPECT_GT(host_.SelectionOf(viewer).textLength, 0);
  EXPECT_EQ(host_.ListSearchText(viewer, "no such text", 0), 1);
}

}  // namespace
}  // namespace brontel::host
