#include "apps/brontel/FolderFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ScratchFolder.h"

namespace brontel::app {
namespace {

namespace fs = std::filesystem;

class FolderFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.log", "b.txt", "c.log", "B.log"})
      folder.Write(name, "x\n");
    fs::create_directory(folder.Path() / "bb.log");  // a folder is no file to show
  }
  std::string In(const char* name) { return folder.File(name); }

  testing::ScratchFolder folder;
};

TEST_F(FolderFilesTest, StepsThroughRegularFilesInNameOrder) {
  EXPECT_EQ(NeighbourFile(In("B.log"), FolderStep::Next), In("a.log"));
  EXPECT_EQ(NeighbourFile(In("a.log"), FolderStep::Next), In("b.txt"));
  EXPECT_EQ(NeighbourFile(In("b.txt"), FolderStep::Next), In("c.log"));
  EXPECT_EQ(NeighbourFile(In("c.log"), FolderStep::Previous), In("b.txt"));
}

TEST_F(FolderFilesTest, StopsAtEitherEnd) {
  EXPECT_EQ(NeighbourFile(In("c.log"), FolderStep::Next), "");
  EXPECT_EQ(NeighbourFile(In("B.log"), FolderStep::Previous), "");
}

TEST_F(FolderFilesTest, AFileThatWentAwayStepsFromWhereItsNameStood) {
  EXPECT_EQ(NeighbourFile(In("ab.log"), FolderStep::Next), In("b.txt"));
  EXPECT_EQ(NeighbourFile(In("ab.log"), FolderStep::Previous), In("a.log"));
}

TEST_F(FolderFilesTest, AMissingFolderHasNoNeighbours) {
  EXPECT_EQ(NeighbourFile(In("gone/a.log"), FolderStep::Next), "");
  EXPECT_EQ(NeighbourFile("", FolderStep::Previous), "");
}

}  // namespace
}  // namespace brontel::app
