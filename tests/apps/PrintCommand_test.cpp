#include "apps/brontel/PrintCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "settings/SettingsFile.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::app {
namespace {

namespace fs = std::filesystem;

class PrintCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The settings path is process-wide; each test names its own folder.
    SettingsFilePath().clear();
  }

  PrintRequest RequestFor(const fs::path& file) {
    PrintRequest request;
    request.file = file.string();
    request.settingsFolder = folder.File("settings");
    return request;
  }
  int Run(const PrintRequest& request) { return RunPrint(request, out, err); }

  testing::ScratchFolder folder;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(PrintCommandTest, AnUnassociatedFileNeedsForce) {
  const fs::path file = folder.Write("notes.txt", "E\tdisk full\r\nplain\r\n");
  EXPECT_EQ(Run(RequestFor(file)), kExitNotAssociated);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("notes.txt"), std::string::npos);
  EXPECT_NE(err.str().find("--force"), std::string::npos);

  err.str("");
  PrintRequest forced = RequestFor(file);
  forced.force = true;
  EXPECT_EQ(Run(forced), kExitOk);
  EXPECT_EQ(out.str(),
            "E   disk full\n|   Error:1, History:1\nE   disk full\nplain\n"
            "|   Error:1, Lines:2\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(PrintCommandTest, AMissingSettingsFileIsCreatedAsTheModuleDoesAndNeverSaved) {
  const fs::path file = folder.Write("app.log", "W\tslow\r\n");
  PrintRequest request = RequestFor(file);
  request.complete = true;
  ASSERT_EQ(Run(request), kExitOk);
  const fs::path ini = folder.Path() / "settings" / "brontel.ini";
  const std::string created = folder.Read(ini);
  EXPECT_NE(created.find("[EXT]"), std::string::npos);
  EXPECT_NE(created.find(".log=10"), std::string::npos);
  // The complete load switched the viewer's options, but a print run keeps them to itself.
  EXPECT_EQ(created.find("LoadCompleteFile"), std::string::npos);
  EXPECT_EQ(out.str(), "W   slow\n|   Warning:1, HistoryCount:1\nW   slow\n");

  ASSERT_EQ(Run(RequestFor(file)), kExitOk);
  EXPECT_EQ(folder.Read(ini), created);
}

TEST_F(PrintCommandTest, SavedOptionsAreUsedAsTheModuleWouldUseThem) {
  fs::create_directory(folder.Path() / "settings");
  const fs::path ini =
      folder.Write("settings/brontel.ini",
                   "[EXT]\r\n.log=10\r\n[Preferences]\r\nOptions.LastBufferSizeIndex=0\r\n");
  const fs::path file = folder.Write("app.log", "line one\r\n");
  PrintRequest request = RequestFor(file);
  request.status = true;
  ASSERT_EQ(Run(request), kExitOk);
  EXPECT_NE(out.str().find("[Buffer:5 KB]"), std::string::npos) << out.str();

  // A saved complete load stands through the first reload tick.
  folder.Write("settings/brontel.ini",
               "[EXT]\r\n.log=10\r\n[Preferences]\r\nOptions.LoadCompleteFile=1\r\n");
  out.str("");
  ASSERT_EQ(Run(RequestFor(file)), kExitOk);
  EXPECT_EQ(out.str(), "line one\n");
}

// Nothing to print is a failure a script sees: a message, no view, exit code 1.
TEST_F(PrintCommandTest, AMissingFileOrAFolderFailsOnStandardError) {
  EXPECT_EQ(Run(RequestFor(folder.Path() / "gone.log")), kExitFailure);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("gone.log: no such file"), std::string::npos) << err.str();
  err.str("");
  fs::create_directory(folder.Path() / "logs");
  PrintRequest forced = RequestFor(folder.Path() / "logs");
  forced.force = true;
  EXPECT_EQ(Run(forced), kExitFailure);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("logs: is a folder"), std::string::npos) << err.str();
}

TEST_F(PrintCommandTest, BinaryBytesPassThroughUnchanged) {
  const std::string binary("E\x01\xff\xfe\x80 bytes\r\n", 12);
  const fs::path file = folder.Write("dump.log", binary);
  ASSERT_EQ(Run(RequestFor(file)), kExitOk);
  EXPECT_NE(out.str().find("\x01\xff\xfe\x80 bytes"), std::string::npos);
}

TEST_F(PrintCommandTest, AnUncreatableSettingsFolderFailsClearly) {
  const fs::path file = folder.Write("app.log", "x\r\n");
  folder.Write("blocker", "a file where the folder would go");
  PrintRequest request = RequestFor(file);
  request.settingsFolder = (folder.Path() / "blocker" / "settings").string();
  EXPECT_EQ(Run(request), kExitFailure);
  EXPECT_NE(err.str().find("settings folder"), std::string::npos);
}

TEST_F(PrintCommandTest, FollowPrintsAgainAfterAReload) {
  const fs::path file = folder.Write("app.log", "first\r\n");
  PrintRequest request = RequestFor(file);
  request.follow = true;
  request.seconds = 4;
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    folder.Append(file, "second\r\n");
  });
  EXPECT_EQ(Run(request), kExitOk);
  writer.join();
  const std::string text = out.str();
  const std::size_t separator = text.find("\f\n");
  ASSERT_NE(separator, std::string::npos) << text;
  EXPECT_EQ(text.substr(0, separator), "|   , History:0\nfirst\n|   , Lines:1\n");
  EXPECT_NE(text.find("first\nsecond\n|   , Lines:2\n", separator), std::string::npos) << text;
}

}  // namespace
}  // namespace brontel::app
