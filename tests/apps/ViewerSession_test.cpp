#include "apps/brontel/ViewerSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/apps/FakeListerModule.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::app {
namespace {

using ::testing::ElementsAre;

class ViewerSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.Reset();
    for (const char* name : {"a.log", "b.bin", "c.log", "d.log"})
      folder.Write(name, "x\n");
  }
  std::string In(const char* name) { return folder.File(name); }
  void* Viewer(int number) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(number)); }

  FakeListerModule& fake = FakeListerModule::Instance();
  testing::ScratchFolder folder;
  int parent = 0;
};

TEST_F(ViewerSessionTest, ANewFileIsLoadedBeforeTheOldViewerCloses) {
  ViewerSession session(FakeListerModule::EntryPoints(), &parent, kForceShow);
  ASSERT_TRUE(session.Open(In("a.log")));
  EXPECT_EQ(fake.lastParent, &parent);
  EXPECT_EQ(fake.lastShowFlags, kForceShow);
  ASSERT_TRUE(session.Open(In("c.log")));
  EXPECT_EQ(session.viewer(), Viewer(2));
  EXPECT_EQ(session.file(), In("c.log"));
  EXPECT_EQ(fake.closed, std::vector<void*>{Viewer(1)});
}

TEST_F(ViewerSessionTest, ADeclinedFileLeavesTheViewerAsItWas) {
  fake.declined = {In("c.log")};
  ViewerSession session(FakeListerModule::EntryPoints(), &parent, 0);
  ASSERT_TRUE(session.Open(In("a.log")));
  EXPECT_FALSE(session.Open(In("c.log")));
  EXPECT_EQ(session.viewer(), Viewer(1));
  EXPECT_EQ(session.file(), In("a.log"));
  EXPECT_TRUE(fake.closed.empty());
}

TEST_F(ViewerSessionTest, StepsPassOverDeclinedFilesAndStopAtTheEnds) {
  fake.declined = {In("b.bin")};
  ViewerSession session(FakeListerModule::EntryPoints(), &parent, 0);
  ASSERT_TRUE(session.Open(In("a.log")));
  ASSERT_TRUE(session.Step(FolderStep::Next));
  EXPECT_EQ(session.file(), In("c.log"));
  ASSERT_TRUE(session.Step(FolderStep::Next));
  EXPECT_EQ(session.file(), In("d.log"));
  EXPECT_FALSE(session.Step(FolderStep::Next));
  EXPECT_EQ(session.file(), In("d.log"));
  ASSERT_TRUE(session.Step(FolderStep::Previous));
  ASSERT_TRUE(session.Step(FolderStep::Previous));
  EXPECT_EQ(session.file(), In("a.log"));
  EXPECT_FALSE(session.Step(FolderStep::Previous));
  // Every viewer but the shown one was closed.
  EXPECT_EQ(fake.open, std::vector<void*>{session.viewer()});
}

TEST_F(ViewerSessionTest, SearchesCarryTheDialogsChoicesAndRepeatWithoutFindFirst) {
  ViewerSession session(FakeListerModule::EntryPoints(), &parent, 0);
  EXPECT_FALSE(session.FindAgain(false));  // nothing to repeat yet
  ASSERT_TRUE(session.Open(In("a.log")));
  FindRequest request{"disk full", true, true, false};
  EXPECT_TRUE(session.Find(request));
  EXPECT_TRUE(session.FindAgain(false));
  EXPECT_TRUE(session.FindAgain(true));
  ASSERT_EQ(fake.searches.size(), 3u);
  EXPECT_EQ(fake.searches[0].text, "disk full");
  EXPECT_EQ(fake.searches[0].flags, kSearchFindFirst | kSearchMatchCase | kSearchWholeWords);
  EXPECT_EQ(fake.searches[1].flags, kSearchMatchCase | kSearchWholeWords);
  EXPECT_EQ(fake.searches[2].flags, kSearchMatchCase | kSearchWholeWords | kSearchBackwards);
  EXPECT_EQ(fake.searches[2].viewer, Viewer(1));

  fake.searchAnswer = 1;
  EXPECT_FALSE(session.FindAgain(false));
  // The repeated search stays the dialog's: a reversed one does not turn it around.
  EXPECT_FALSE(session.lastSearch().backwards);
}

TEST_F(ViewerSessionTest, AnEmptySearchTextIsNotSent) {
  ViewerSession session(FakeListerModule::EntryPoints(), &parent, 0);
  ASSERT_TRUE(session.Open(In("a.log")));
  EXPECT_FALSE(session.Find(FindRequest{}));
  EXPECT_FALSE(session.FindAgain(false));
  EXPECT_TRUE(fake.searches.empty());
}

TEST_F(ViewerSessionTest, TheViewerIsClosedOnceWhenTheSessionEnds) {
  {
    ViewerSession session(FakeListerModule::EntryPoints(), &parent, 0);
    ASSERT_TRUE(session.Open(In("a.log")));
    session.Close();
    EXPECT_EQ(session.viewer(), nullptr);
    ASSERT_TRUE(session.Open(In("c.log")));
  }
  EXPECT_THAT(fake.closed, ElementsAre(Viewer(1), Viewer(2)));
}

}  // namespace
}  // namespace brontel::app
