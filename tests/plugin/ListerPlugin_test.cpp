#include "plugin/ListerPlugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "settings/SettingsFile.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

// A viewer that only records what the entry points ask of it.
class StubViewer : public TListWindowIntf {
 public:
  StubViewer(ui::Toolkit& toolkit, std::uintptr_t parent, std::string fileName)
      : TListWindowIntf(toolkit, parent, "StubViewer") {
    path = std::move(fileName);
  }

  TextOffset FindText(std::string_view pattern, TextOffset start, int flags) override {
    searches.push_back({std::string(pattern), start, flags});
    if (findThrows)
      throw std::runtime_error("search failed");
    return findResult;
  }
  TextOffset FindTextPos(std::string_view, TextOffset, int) override { return kNotFound; }
  int SaveHistory(const std::string&) override { return 1; }
  int SaveLines(const std::string&) override { return 1; }
  void SetSelStart(TextOffset) override {}
  TextOffset GetSelStart() override { return 0; }
  void SetSelLength(TextOffset) override {}
  TextOffset GetSelLength() override { return 0; }
  TextOffset GetTextLength() override { return 0; }

  struct Search {
    std::string pattern;
    TextOffset start;
    int flags;
  };
  std::vector<Search> searches;
  TextOffset findResult = kNotFound;
  bool findThrows = false;
  int closeRequests = 0;
};

// Keeps every viewer it made alive until the test ends, so closed ones can still be looked at.
class StubFactory : public ViewerFactory {
 public:
  TListWindowIntf& CreateViewer(std::uintptr_t parent, const std::string& fileName) override {
    if (createThrows)
      throw std::runtime_error("no viewer");
    made.push_back(std::make_unique<StubViewer>(toolkit, parent, fileName));
    if (nextHandle != 0)
      made.back()->BindNativeWindow(nextHandle);
    return *made.back();
  }
  void CloseViewer(TListWindowIntf& viewer) override {
    auto& stub = static_cast<StubViewer&>(viewer);
    ++stub.closeRequests;
    if (closeThrows)
      throw std::runtime_error("options not saved");
  }

  headless::HeadlessToolkit toolkit;
  std::vector<std::unique_ptr<StubViewer>> made;
  bool createThrows = false;
  bool closeThrows = false;
  std::uintptr_t nextHandle = 0;
};

// The association question and the reload that the entry points make are counted.
class CountingExtManager : public testing::MemorySettings {
 public:
  bool IsAssociated(const std::string& fileName, std::int32_t& number) override {
    askedFor.push_back(fileName);
    if (associated)
      number = 10;
    return associated;
  }
  void Load() override { ++loads; }
  void UseAssociations(const std::map<std::string, std::int32_t>& map) override { inMemory = map; }

  bool associated = true;
  int loads = 0;
  std::map<std::string, std::int32_t> inMemory;
  std::vector<std::string> askedFor;
};

// The host's record: size, two version words, then the settings-file name.
std::vector<char> DefaultParamsRecord(const std::string& name,
                                      std::size_t nameRoom = kListerMaxPath) {
  constexpr std::size_t kNameOffset = offsetof(ListerDefaultParams, defaultIniName);
  std::vector<char> record(kNameOffset + nameRoom, '\0');
  std::memcpy(record.data() + kNameOffset, name.data(), std::min(name.size(), nameRoom));
  return record;
}

class ListerPluginTest : public ::testing::Test {
 protected:
  void SetUp() override { SettingsFilePath().clear(); }
  void TearDown() override { SettingsFilePath().clear(); }

  StubFactory factory_;
  CountingExtManager extManager_;
  ListerPlugin plugin_{factory_, [this]() -> ExtManager& { return extManager_; }};
  testing::ScratchFolder folder_;
};

TEST(SettingsPathBesideTest, KeepsTheDirectoryPartUpToTheLastSeparatorOrColon) {
  EXPECT_EQ(SettingsPathBeside("/tools/host/wincmd.ini"), "/tools/host/brontel.ini");
  EXPECT_EQ(SettingsPathBeside("wincmd.ini"), "brontel.ini");
  EXPECT_EQ(SettingsPathBeside("/tools/"), "/tools/brontel.ini");
  EXPECT_EQ(SettingsPathBeside("C:wincmd.ini"), "C:brontel.ini");
  EXPECT_EQ(SettingsPathBeside("/a:b/c.ini"), "/a:b/brontel.ini");
  EXPECT_EQ(SettingsPathBeside("/a/b:c.ini"), "/a/b:brontel.ini");
#ifdef _WIN32
  EXPECT_EQ(SettingsPathBeside("C:\\tools/host\\wincmd.ini"), "C:\\tools/host\\brontel.ini");
#endif
}

TEST_F(ListerPluginTest, NoRecordOrAnEmptyNameChangesNothing) {
  plugin_.ListSetDefaultParams(nullptr);
  const std::vector<char> empty = DefaultParamsRecord("");
  plugin_.ListSetDefaultParams(empty.data());
  EXPECT_TRUE(SettingsFilePath().empty());
  EXPECT_EQ(extManager_.loads, 0);
  EXPECT_TRUE(fs::is_empty(folder_.Path()));
}

TEST_F(ListerPluginTest, AMissingSettingsFileIsCreatedWithTheDefaultAssociationsInOrder) {
  const std::vector<char> record = DefaultParamsRecord(folder_.File("wincmd.ini"));
  plugin_.ListSetDefaultParams(record.data());
  EXPECT_EQ(SettingsFilePath(), folder_.File("brontel.ini"));
  EXPECT_EQ(folder_.Read(folder_.Path() / "brontel.ini"), "[EXT]\r\n.log=10\r\n.=10\r\n");
  EXPECT_EQ(extManager_.loads, 1);
  EXPECT_FALSE(fs::exists(folder_.Path() / "wincmd.ini"));
}

TEST_F(ListerPluginTest, AnExistingSettingsFileIsNeitherReadNorChanged) {
  const fs::path settings = folder_.Path() / "brontel.ini";
  folder_.Write(settings, "[Preferences]\nOptions.Active=0\n");
  const auto written = fs::last_write_time(settings);
  const std::vector<char> record = DefaultParamsRecord(folder_.File("wincmd.ini"));
  plugin_.ListSetDefaultParams(record.data());
  EXPECT_EQ(SettingsFilePath(), settings.string());
  EXPECT_EQ(folder_.Read(settings), "[Preferences]\nOptions.Active=0\n");
  EXPECT_EQ(fs::last_write_time(settings), written);
  EXPECT_EQ(extManager_.loads, 0);
}

// .log files must still open where the settings cannot be written: the defaults hold in memory.
TEST_F(ListerPluginTest, AFileThatCannotBeCreatedKeepsThePathAndTheDefaultsInMemory) {
  const fs::path notADirectory = folder_.Path() / "plain";
  folder_.Write(notADirectory, "x");
  const std::vector<char> record = DefaultParamsRecord((notADirectory / "wincmd.ini").string());
  plugin_.ListSetDefaultParams(record.data());
  EXPECT_EQ(SettingsFilePath(), (notADirectory / "brontel.ini").string());
  EXPECT_EQ(extManager_.inMemory, (std::map<std::string, std::int32_t>{{".", 10}, {".log", 10}}));
  EXPECT_EQ(folder_.Read(notADirectory), "x");
}

TEST_F(ListerPluginTest, ANameFillingTheWholeRecordIsNotReadBeyondIt) {
  const std::string name = folder_.File(std::string(300, 'n'));
  const std::vector<char> record = DefaultParamsRecord(name, kListerMaxPath);
  plugin_.ListSetDefaultParams(record.data());
  EXPECT_EQ(SettingsFilePath(), SettingsPathBeside(name.substr(0, kListerMaxPath)));
}

TEST_F(ListerPluginTest, UnassociatedFilesAreDeclinedUnlessForced) {
  extManager_.associated = false;
  EXPECT_EQ(plugin_.ListLoad(7, "/logs/app.txt", 0), 0u);
  EXPECT_EQ(plugin_.ListLoad(7, "/logs/app.txt", ~kForceShow), 0u);
  EXPECT_TRUE(factory_.made.empty());

  const std::uintptr_t handle = plugin_.ListLoad(7, "/logs/app.txt", kForceShow);
  ASSERT_NE(handle, 0u);
  ASSERT_EQ(factory_.made.size(), 1u);
  EXPECT_EQ(factory_.made[0]->path, "/logs/app.txt");
  EXPECT_EQ(factory_.made[0]->ParentWindow(), 7u);
  EXPECT_EQ(handle, factory_.made[0]->NativeHandle());
  EXPECT_EQ(extManager_.askedFor.size(), 2u);  // a forced load does not ask
}

TEST_F(ListerPluginTest, FailuresToLoadAnswerNull) {
  EXPECT_EQ(plugin_.ListLoad(7, nullptr, kForceShow), 0u);
  factory_.createThrows = true;
  EXPECT_EQ(plugin_.ListLoad(7, "/logs/app.log", 0), 0u);
  EXPECT_TRUE(plugin_.registry().Empty());
}

TEST_F(ListerPluginTest, EachHandleReachesItsOwnViewerAndClosingOneKeepsTheOther) {
  const std::uintptr_t first = plugin_.ListLoad(1, "/logs/a.log", 0);
  const std::uintptr_t second = plugin_.ListLoad(2, "/logs/b.log", 0);
  ASSERT_NE(first, second);
  factory_.made[1]->findResult = 5;
  EXPECT_EQ(plugin_.ListSearchText(first, "x", 0), 1);
  EXPECT_EQ(plugin_.ListSearchText(second, "x", 0), 0);
  EXPECT_EQ(factory_.made[0]->searches.size(), 1u);
  EXPECT_EQ(factory_.made[1]->searches.size(), 1u);

  plugin_.ListCloseWindow(first);
  EXPECT_EQ(factory_.made[0]->closeRequests, 1);
  EXPECT_EQ(factory_.made[1]->closeRequests, 0);
  EXPECT_EQ(plugin_.registry().Find(first), nullptr);
  EXPECT_EQ(plugin_.registry().Find(second), factory_.made[1].get());
}

TEST_F(ListerPluginTest, AHandleThatIsLoadedAgainReachesTheNewViewer) {
  factory_.nextHandle = 0x5000;
  EXPECT_EQ(plugin_.ListLoad(1, "/logs/a.log", 0), 0x5000u);
  EXPECT_EQ(plugin_.ListLoad(1, "/logs/b.log", 0), 0x5000u);
  EXPECT_EQ(plugin_.registry().Count(), 1u);
  EXPECT_EQ(plugin_.registry().Find(0x5000)->path, "/logs/b.log");
}

TEST_F(ListerPluginTest, ClosingUnknownOrClosedHandlesHasNoEffect) {
  plugin_.ListCloseWindow(0);
  plugin_.ListCloseWindow(0x1234);
  const std::uintptr_t handle = plugin_.ListLoad(1, "/logs/a.log", 0);
  plugin_.ListCloseWindow(handle);
  plugin_.ListCloseWindow(handle);
  EXPECT_EQ(factory_.made[0]->closeRequests, 1);
  EXPECT_EQ(plugin_.ListSearchText(handle, "x", 0), 1);
  EXPECT_TRUE(factory_.made[0]->searches.empty());
}

TEST_F(ListerPluginTest, AViewerThatFailsToCloseIsForgottenAllTheSame) {
  const std::uintptr_t handle = plugin_.ListLoad(1, "/logs/a.log", 0);
  factory_.closeThrows = true;
  plugin_.ListCloseWindow(handle);
  EXPECT_EQ(factory_.made[0]->closeRequests, 1);
  EXPECT_TRUE(plugin_.registry().Empty());
  plugin_.ListCloseWindow(handle);
  EXPECT_EQ(factory_.made[0]->closeRequests, 1);
}

TEST_F(ListerPluginTest, SearchesStartAtTheCaretWithTheHostsFlagsUnchanged) {
  const std::uintptr_t handle = plugin_.ListLoad(1, "/logs/a.log", 0);
  StubViewer& viewer = *factory_.made[0];
  viewer.findResult = 0;  // a match at the very start still counts as found
  EXPECT_EQ(plugin_.ListSearchText(handle, "needle", 1 | 2 | 4 | 8), 0);
  EXPECT_EQ(plugin_.ListSearchText(handle, "needle", 2), 0);
  viewer.findResult = kNotFound;
  EXPECT_EQ(plugin_.ListSearchText(handle, "needle", 0), 1);
  ASSERT_EQ(viewer.searches.size(), 3u);
  EXPECT_EQ(viewer.searches[0].pattern, "needle");
  EXPECT_EQ(viewer.searches[0].start, 0);
  EXPECT_EQ(viewer.searches[0].flags, 15);
  EXPECT_EQ(viewer.searches[1].flags, 2);
  EXPECT_EQ(viewer.searches[1].start, 0);
}

TEST_F(ListerPluginTest, AFailedSearchForgetsTheViewerWithoutClosingIt) {
  const std::uintptr_t handle = plugin_.ListLoad(1, "/logs/a.log", 0);
  EXPECT_EQ(plugin_.ListSearchText(handle, nullptr, 0), 1);
  factory_.made[0]->findResult = 0;
  EXPECT_EQ(plugin_.ListSearchText(handle, "", 0), 1);  // an empty text is found nowhere
  EXPECT_EQ(plugin_.registry().Count(), 1u);            // no text is no failure of the viewer

  factory_.made[0]->findThrows = true;
  EXPECT_EQ(plugin_.ListSearchText(handle, "x", 0), 1);
  EXPECT_TRUE(plugin_.registry().Empty());
  plugin_.ListCloseWindow(handle);
  EXPECT_EQ(factory_.made[0]->closeRequests, 0);
}

}  // namespace
}  // namespace brontel
