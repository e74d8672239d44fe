#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/viewer/ViewerFixture.h"

namespace brontel::testing {
namespace {

class KeptPlaces : public ViewerFixture {
 protected:
  void SetUp() override {
    store.readingPlacesPath = folder.File("brontel.places");
    std::string text;
    for (int i = 0; i < 300; ++i)
      text += (i % 50 == 7 ? "E failure " : "I line ") + std::to_string(i) + "\n";
    Write(logPath, text);
  }
  void OpenAndLoad() {
    Open();
    Advance(50);
  }
  // Closes the viewer as the host does (its options and place saved) and opens the file again.
  void Reopen() {
    form->FormCloseQuery();
    form.reset();
    OpenAndLoad();
  }
  std::string Status() { return form->controls().Label2.Caption(); }
};

TEST_F(KeptPlaces, ALogOpensAgainWhereTheReaderLeftItAndAFollowedOneAtItsEnd) {
  OpenAndLoad();
  const int end = form->editor().TopRow();
  ASSERT_GT(end, 40);
  Reopen();
  EXPECT_EQ(form->editor().TopRow(), end);  // it followed the end: it follows it again

  form->editor().ScrollTo(2, 30);
  form->editor().MoveCaret(33, 4);
  Reopen();
  EXPECT_EQ(form->editor().TopRow(), 30);
  EXPECT_EQ(form->editor().LeftCol(), 2);
  EXPECT_EQ(form->editor().CaretRow(), 33);
  EXPECT_EQ(form->editor().CaretCol(), 4);
  EXPECT_NE(Status().find("[following paused]"), std::string::npos);
  EXPECT_TRUE(form->options().AutoFollowMode);  // the option itself stays as the user set it
  Advance(2000);
  EXPECT_EQ(form->editor().TopRow(), 30);

  // The log grew meanwhile, by lines the history keeps too: the rows moved, the lines did not.
  const std::string top(form->editor().Line(30));
  const std::string caret(form->editor().Line(33));
  form->FormCloseQuery();
  form.reset();
  Append("E   1\nE   2\nE   3\n");
  OpenAndLoad();
  EXPECT_GT(form->editor().TopRow(), 30);
  EXPECT_EQ(form->editor().Line(form->editor().TopRow()), top);
  EXPECT_EQ(form->editor().Line(form->editor().CaretRow()), caret);
}

TEST_F(KeptPlaces, TheFilterAndTheCompleteLoadComeBackForThatFileOnly) {
  OpenAndLoad();
  std::string refused;
  ASSERT_TRUE(form->ApplyFilter(ViewFilter{{"counted"}, "", false, false, 1}, refused));
  form->options().SetLoadCompleteFile(true);
  Reopen();
  EXPECT_TRUE(form->options().LoadCompleteFile);
  EXPECT_EQ(form->CompleteLoads(), 1u);
  EXPECT_NE(Status().find("[filter:"), std::string::npos);

  Write(folder.File("other.log"), "I other\n");
  form->FormCloseQuery();
  form.reset();
  std::erase_if(store.values,
                [](const auto& value) { return value.first.starts_with("Filter\\"); });
  Open(folder.File("other.log"));
  Advance(50);
  EXPECT_EQ(Status().find("[filter:"), std::string::npos);
}

TEST_F(KeptPlaces, ATruncatedOrReplacedLogStartsAsANewOne) {
  OpenAndLoad();
  form->editor().ScrollTo(0, 10);
  form->FormCloseQuery();
  form.reset();
  Write(logPath, "I short\n");
  OpenAndLoad();
  EXPECT_EQ(form->editor().TopRow(), 0);
  EXPECT_EQ(Status().find("[following paused]"), std::string::npos);

  form->editor().ScrollTo(0, 1);
  form->FormCloseQuery();
  form.reset();
  std::filesystem::remove(logPath);
  Write(folder.File("new.log"), "I rotated\nI in\nI place\n");
  std::filesystem::rename(folder.File("new.log"), logPath);
  OpenAndLoad();
  EXPECT_EQ(Status().find("[following paused]"), std::string::npos);
}

TEST_F(KeptPlaces, SwitchedOffNothingIsKeptOrTakenUp) {
  store.values["Options.RememberPlaces"] = "0";
  OpenAndLoad();
  EXPECT_FALSE(form->controls().chkRememberPlaces.Checked());
  form->editor().ScrollTo(0, 30);
  Reopen();
  EXPECT_FALSE(std::filesystem::exists(store.readingPlacesPath));
  EXPECT_GT(form->editor().TopRow(), 40);
}

}  // namespace
}  // namespace brontel::testing
