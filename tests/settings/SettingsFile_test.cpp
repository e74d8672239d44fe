#include "settings/SettingsFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "tests/support/ScopedVariable.h"

namespace brontel {
namespace {

using Parts = std::vector<std::string>;

TEST(SplitKeyPath, SplitsAtEveryBackslash) {
  EXPECT_EQ(SplitKeyPath("Options.Active"), (Parts{"Options.Active"}));
  EXPECT_EQ(SplitKeyPath("Layouts\\Layout3"), (Parts{"Layouts", "Layout3"}));
  EXPECT_EQ(SplitKeyPath("A\\B\\C"), (Parts{"A", "B", "C"}));
  EXPECT_EQ(SplitKeyPath("A\\\\B"), (Parts{"A", "", "B"}));
  EXPECT_EQ(SplitKeyPath("\\B"), (Parts{"", "B"}));
}

TEST(SplitKeyPath, DropsOnlyOneTrailingEmptyComponent) {
  EXPECT_EQ(SplitKeyPath("A\\B\\"), (Parts{"A", "B"}));
  EXPECT_EQ(SplitKeyPath("A\\\\"), (Parts{"A", ""}));
  EXPECT_EQ(SplitKeyPath("A\\"), (Parts{"A"}));
  EXPECT_EQ(SplitKeyPath("\\"), (Parts{""}));
  EXPECT_EQ(SplitKeyPath(""), (Parts{""}));
}

TEST(SplitKeyPath, LooksAtMostNineThousandNineHundredNinetyNineCharactersAhead) {
  const std::string first(20000, 'a');  // the part before the first backslash is whole
  // The text after a backslash is cut to 9999 characters before it is split further.
  const std::string longRest = std::string(9997, 'b') + "\\c" + std::string(5, 'd');
  EXPECT_EQ(SplitKeyPath(first + "\\" + longRest), (Parts{first, std::string(9997, 'b'), "c"}));
  // The backslash at position 10000 after the first one is beyond the window.
  const std::string beyond = std::string(9999, 'b') + "\\c";
  EXPECT_EQ(SplitKeyPath("A\\" + beyond), (Parts{"A", std::string(9999, 'b')}));
}

TEST(MapKeyPath, OneComponentGoesToPreferences) {
  EXPECT_EQ(MapKeyPath(SplitKeyPath("Options.Active")),
            (SettingsKey{"Preferences", "Options.Active"}));
  EXPECT_EQ(MapKeyPath(SplitKeyPath("Layouts\\Layout0")), (SettingsKey{"Layouts", "Layout0"}));
  EXPECT_EQ(MapKeyPath(SplitKeyPath("A\\B\\C")), (SettingsKey{"A", "B.C"}));
  EXPECT_EQ(MapKeyPath(SplitKeyPath("A\\\\C")), (SettingsKey{"A", ".C"}));
  EXPECT_EQ(MapKeyPath({}), (SettingsKey{"Preferences", ""}));
}

TEST(GetSettingsFilePath, PrefersTheSetPathAndFallsBackToTheProgramDirectory) {
  const testing::ScopedVariable xdg("XDG_CONFIG_HOME", "/tmp/xdg");
  SettingsFilePath().clear();
  EXPECT_TRUE(UsingFallbackSettingsPath());
  EXPECT_EQ(GetSettingsFilePath(), "/tmp/xdg/brontel/brontel.ini");
  SettingsFilePath() = "/srv/host/brontel.ini";
  EXPECT_FALSE(UsingFallbackSettingsPath());
  EXPECT_EQ(GetSettingsFilePath(), "/srv/host/brontel.ini");
  SettingsFilePath().clear();
}

}  // namespace
}  // namespace brontel
