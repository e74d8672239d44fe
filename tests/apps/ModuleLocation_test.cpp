#include "apps/brontel/ModuleLocation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ScratchFolder.h"

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
  testing::ScratchFolder folder;
  const std::string file = folder.Write("brontel.wlx", "module");
  std::filesystem::create_directory(folder.Path() / "dir.wlx");
  EXPECT_EQ(FirstExistingFile({folder.File("missing.wlx"), folder.File("dir.wlx"), file}), file);
  EXPECT_EQ(FirstExistingFile({folder.File("missing.wlx")}), "");
}

}  // namespace
}  // namespace brontel::app
