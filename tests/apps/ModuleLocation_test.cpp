#include "apps/brontel/ModuleLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/apps/TempFolder.h"

namespace brontel::app {
namespace {

TEST(ModuleLocationTest, BesideTheProgramThenTheInstalledTreeThenTheBuild) {
  EXPECT_EQ(ModuleCandidates("", "/opt/b/bin/brontel", {"/build/brontel.wlx", ""}),
            (std::vector<std::string>{"/opt/b/bin/brontel.wlx", "/opt/b/lib/brontel/brontel.wlx",
                                      "/build/brontel.wlx"}));
  EXPECT_EQ(ModuleCandidates("", "", {"/usr/lib/brontel/brontel.wlx"}),
            std::vector<std::string>{"/usr/lib/brontel/brontel.wlx"});
}

TEST(ModuleLocationTest, AnExplicitPathIsTheOnlyCandidate) {
  EXPECT_EQ(ModuleCandidates("my.wlx", "/opt/b/bin/brontel", {"/build/brontel.wlx"}),
            std::vector<std::string>{"my.wlx"});
}

TEST(ModuleLocationTest, TheFirstRegularFileWins) {
  TempFolder folder;
  const std::string file = (folder.path() / "brontel.wlx").string();
  std::ofstream(file) << "module";
  std::filesystem::create_directory(folder.path() / "dir.wlx");
  EXPECT_EQ(FirstExistingFile({(folder.path() / "missing.wlx").string(),
                               (folder.path() / "dir.wlx").string(), file}),
            file);
  EXPECT_EQ(FirstExistingFile({(folder.path() / "missing.wlx").string()}), "");
}

}  // namespace
}  // namespace brontel::app
