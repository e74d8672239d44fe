#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "platform/IniFile.h"
#include "settings/ExtMgr.h"
#include "settings/SettingsFile.h"
#include "tests/reliability/support/ScenarioFixture.h"
#include "viewer/OptionTables.h"

namespace brontel::reliability {
namespace {

namespace fs = std::filesystem;

// Viewers that read and write a real settings file through the process-wide store.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsFilePath() = settingsPath;
    for (int i = 0; i < 500; ++i)
      writer.AppendNextLine();
  }
  void TearDown() override {
    while (!harness.Viewers().empty())
      harness.Close(*harness.Viewers().back());
    SettingsFilePath().clear();
  }

  void WriteSettings(const std::string& bytes) { folder.Write(settingsPath, bytes); }

  // Opens a viewer, checks that it shows the log and holds sane options, and closes it.
  void OpenCheckAndClose() {
    TForm1& form = harness.Open(logPath);
    if (form.options().LoadCompleteFile) {
      EXPECT_GE(form.editor().LineCount(), 500u);  // the whole file instead of the tail
    } else {
      ASSERT_TRUE(harness.PumpUntilReload(form));
      EXPECT_TRUE(ViewMatchesFile(form, FileBytes(logPath)));
    }
    const auto& sizes = BufferSizes;
    EXPECT_TRUE(std::any_of(sizes.begin(), sizes.end(), [&](const OptionChoice& choice) {
      return choice.value == form.viewerState().bufferSize;
    })) << form.viewerState().bufferSize;
    EXPECT_FALSE(form.options().Active && form.options().LoadCompleteFile);
    EXPECT_NO_THROW(harness.Close(form));
  }

  ScratchFolder folder;
  std::string settingsPath = folder.File("brontel.ini");
  std::string logPath = folder.File("app.log");
  LogWriter writer{logPath};
  ViewerHarness harness;
};

TEST_F(SettingsFileTest, ReadOnlyFileIsReadAndLeftAlone) {
  WriteSettings("[Preferences]\r\nOptions.LastBufferSizeIndex=3\r\nOptions.Active=1\r\n");
  fs::permissions(settingsPath, fs::perms::owner_read | fs::perms::group_read);
  const std::string before = FileBytes(settingsPath);
  TForm1& form = harness.Open(logPath);
  EXPECT_EQ(form.viewerState().bufferSize, 51200);
  form.controls().comBufferSize.UserSelect(5);
  EXPECT_NO_THROW(harness.Close(form));
  EXPECT_EQ(FileBytes(settingsPath), before);
  OpenCheckAndClose();
}

TEST_F(SettingsFileTest, FileDeletedWhileAViewerIsOpenIsWrittenAgainAtItsClose) {
  WriteSettings("[Preferences]\r\nOptions.LastBufferSizeIndex=4\r\n");
  TForm1& form = harness.Open(logPath);
  ASSERT_TRUE(harness.PumpUntilReload(form));
  fs::remove(settingsPath);
  EXPECT_NO_THROW(harness.Close(form));
  EXPECT_EQ(platform::IniReadString(settingsPath, "Preferences", "Options.LastBufferSizeIndex", ""),
            "4");
  fs::remove(settingsPath);
  OpenCheckAndClose();
}

TEST_F(SettingsFileTest, SettingsPathThatIsNoFileGivesDefaultsAndQuietCloses) {
  fs::create_directory(settingsPath);
  OpenCheckAndClose();
  fs::remove(settingsPath);
  ASSERT_EQ(::mkfifo(settingsPath.c_str(), 0600), 0);
  OpenCheckAndClose();
  fs::remove(settingsPath);
  SettingsFilePath() = folder.File("missing/folder/brontel.ini");
  OpenCheckAndClose();
}

TEST_F(SettingsFileTest, GarbageGivesDefaultsOrSaneValues) {
  std::mt19937 random(13);
  std::string binary(70000, '\0');
  for (char& c : binary)
    c = static_cast<char>(random());
  const std::string absurd =
      "[Preferences]\nOptions.LastBufferSizeIndex=99\nOptions.LastHistMaxLinesIndex=-7\n"
      "Options.Active=1\nOptions.LoadCompleteFile=1\n"
      "[Layouts]\nCount=2147483647\nLayout0=1|2|x|\n"
      "[MsgTypes]\nCount=1000000\nItem0=Error\n[MsgTypes.Error]\nExprCount=99999999\n"
      "Expr0=(((((\nExpr1=^E   .+\n"
      "[ColumnsDefs]\nCount=999999999\nItem0=A\n[A]\nColumnCount=-1\n";
  for (const std::string& garbage :
       {binary, absurd, std::string(200000, '['), std::string("[Options\n\r\r\n=\n==\n[]\n=1")}) {
    WriteSettings(garbage);
    OpenCheckAndClose();
  }
}

TEST_F(SettingsFileTest, AnotherWriterChangingTheFileWhileViewersReadItCorruptsNothing) {
  WriteSettings("[EXT]\r\n.log=10\r\n.=10\r\n[Preferences]\r\nOptions.Active=1\r\n");
  std::atomic<bool> writing{true};
  std::thread other([&] {
    std::mt19937 random(5);
    while (writing) {
      try {
        platform::IniWriteString(settingsPath, "Preferences", "Options.LastBufferSizeIndex",
                                 std::to_string(random() % 7));
        platform::IniWriteString(settingsPath, "Preferences", "Options.AutoFollowMode",
                                 std::to_string(random() % 2));
        platform::IniWriteString(settingsPath, "Layouts", "Layout0", "1|2|3|4|5|6|7|");
      } catch (const std::exception&) {
        // A refused write is the other viewer's business; the file must stay whole anyway.
      }
    }
  });
  for (int i = 0; i < 30 && !HasFailure(); ++i)
    OpenCheckAndClose();
  writing = false;
  other.join();
  EXPECT_EQ(platform::IniReadString(settingsPath, "EXT", ".log", ""), "10");
  const std::string index =
      platform::IniReadString(settingsPath, "Preferences", "Options.LastBufferSizeIndex", "");
  ASSERT_EQ(index.size(), 1u);
  EXPECT_TRUE(index[0] >= '0' && index[0] <= '6') << index;
}

}  // namespace
}  // namespace brontel::reliability
