#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shells/headless/HeadlessToolkit.h"
#include "tests/viewer/ViewerFixture.h"
#include "viewer/FilterSettings.h"

namespace brontel::testing {
namespace {

using ui::ShiftState;

class FindBarTest : public ViewerFixture {
 protected:
  void SetUp() override {
    ViewerFixture::SetUp();
    Write(logPath,
          "start\nE\tconnection refused\nplain one\nplain two\nW\ttimeout after 3 s\n"
          "plain three\nE\tconnection refused again\nend\n");
    Open();
    Advance(50);
  }
  ui::KeyCode Press(ui::KeyCode key, ShiftState shift = ShiftState::None) {
    form->FormKeyDown(key, shift);
    return key;
  }
  FindBar& bar() { return form->controls().findBar; }
  std::vector<std::string> Body() {
    std::vector<std::string> lines;
    const std::size_t first = form->viewerState().history.Count() + 1;
    for (std::size_t i = first; i + 1 < form->editor().LineCount(); ++i)
      lines.push_back(Line(i));
    return lines;
  }
};

TEST_F(FindBarTest, CtrlBOpensTheBarAndEscClosesItBeforeAnythingElse) {
  ViewerControls& c = form->controls();
  EXPECT_EQ(Press('B', ShiftState::Ctrl), 0);
  EXPECT_TRUE(bar().pnlFindBar.Visible());
  EXPECT_TRUE(bar().edtFind.Focused());
  EXPECT_EQ(bar().comFilterTypes.Items()[2], "Error");
  c.Panel9.SetVisible(true);
  Press(ui::vk::Escape);
  EXPECT_FALSE(bar().pnlFindBar.Visible());
  EXPECT_TRUE(c.Panel9.Visible());
  c.PopupMenu1.Items().back()->Click();
  EXPECT_TRUE(bar().pnlFindBar.Visible());
}

TEST_F(FindBarTest, TheFieldsFilterTheBodyWhileTheCountsStayWhole) {
  Press('B', ShiftState::Ctrl);
  bar().edtFind.SetText("timeout|refused");
  bar().comFilterContext.UserSelect(1);
  bar().btnFilter.Click();
  EXPECT_EQ(Body(), (std::vector<std::string>{"start", "E   connection refused", "plain one",
                                              "plain two", "W   timeout after 3 s", "plain three",
                                              "E   connection refused again", "end"}));
  bar().comFilterContext.UserSelect(0);
  bar().comFilterTypes.UserSelect(2);  // Error
  bar().btnFilter.Click();
  EXPECT_EQ(Body(), (std::vector<std::string>{"E   connection refused", "|   ...",
                                              "E   connection refused again"}));
  EXPECT_EQ(LastLine(), "|   Error:2, Warning:1, Lines:8");
  EXPECT_TRUE(form->controls().Label2.Caption().ends_with(" [filter: 2 of 8 lines]"))
      << form->controls().Label2.Caption();
  // A bad expression is refused where it was typed; the filter in force stays.
  bar().edtFind.SetText("(refused");
  bar().btnFilter.Click();
  EXPECT_FALSE(bar().lblFindStatus.Caption().empty());
  EXPECT_EQ(form->viewModel().Filter().expression, "timeout|refused");
  // The filter in force is what the next window starts with.
  form->FormCloseQuery();
  EXPECT_EQ(LoadViewFilter(store).types, (std::vector<std::string>{"Error"}));
}

// The menu beside the type list: checking an item adds its type to the set shown in the list,
// and taking the last but one out leaves a single type the list has an item for.
TEST_F(FindBarTest, TheTypeMenuChoosesSeveralTypesThatTheListShows) {
  Press('B', ShiftState::Ctrl);
  ui::ComboBox& list = bar().comFilterTypes;
  const std::size_t items = list.Items().size();
  bar().btnFilterTypes.Click();
  EXPECT_EQ(bar().mnuFilterTypes.PopupPoint().y, bar().btnFilterTypes.ClientHeight());
  ui::MenuItem& error = *bar().mnuFilterTypes.Find("Error");
  ui::MenuItem& warning = *bar().mnuFilterTypes.Find("Warning");
  EXPECT_TRUE(warning.IsCheckItem());
  EXPECT_FALSE(warning.Checked());
  error.Click();
  EXPECT_EQ(list.Text(), "Error");
  warning.Click();
  EXPECT_EQ(list.Text(), "Error, Warning");
  EXPECT_EQ(list.Items().size(), items + 1);
  EXPECT_TRUE(error.Checked() && warning.Checked());
  bar().btnFilter.Click();
  EXPECT_EQ(Body(),
            (std::vector<std::string>{"E   connection refused", "|   ...", "W   timeout after 3 s",
                                      "|   ...", "E   connection refused again"}));
  error.Click();
  EXPECT_EQ(list.Text(), "Warning");
  EXPECT_EQ(list.Items().size(), items) << "no item for a set once it is gone";
  list.UserSelect(FindBar::kAnyTypeItem);
  EXPECT_FALSE(warning.Checked());
  EXPECT_TRUE(form->findBar().FieldsFilter().types.empty());
}

// A set kept from the last window (or given to a print run) shows as it is, and the bar hands
// it back unchanged however often it is opened and applied.
TEST_F(FindBarTest, ASetFromTheSettingsSurvivesOpeningAndApplying) {
  store.values["Filter\\Types"] = "warning,Error";
  form.reset();
  Open();
  Advance(50);
  const std::vector<std::string> kept{"warning", "Error"};
  for (int round = 0; round < 2; ++round) {
    Press('B', ShiftState::Ctrl);
    EXPECT_EQ(bar().comFilterTypes.Text(), "warning, Error");
    EXPECT_TRUE(bar().mnuFilterTypes.Find("Warning")->Checked());
    EXPECT_FALSE(bar().mnuFilterTypes.Find("counted")->Checked());
    bar().btnFilter.Click();
    EXPECT_EQ(form->viewModel().Filter().types, kept);
    Press(ui::vk::Escape);
  }
  bar().comFilterTypes.UserSelect(bar().comFilterTypes.ItemIndex());  // the set item again
  EXPECT_EQ(form->findBar().FieldsFilter().types, kept);
  form->FormCloseQuery();
  EXPECT_EQ(LoadViewFilter(store).types, kept);
}

TEST_F(FindBarTest, FindSelectsEachMatchExactlyAndSaysWhenItWraps) {
  ui::TRAHLEditor& view = form->editor();
  Press('B', ShiftState::Ctrl);
  bar().edtFind.SetText("con+ection re[a-z]+");
  bar().chkExpression.SetChecked(true);
  view.SetSelStart(0);
  Press(ui::vk::Return);
  const std::string first(view.SelectedText());
  EXPECT_EQ(first, "connection refused");
  const std::string status = bar().lblFindStatus.Caption();
  EXPECT_EQ(status.substr(0, 6), "match ");
  EXPECT_TRUE(status.ends_with(" of 4")) << status;  // the history block holds them too
  Press(ui::vk::Return);
  Press(ui::vk::Return);
  Press(ui::vk::Return);
  EXPECT_EQ(bar().lblFindStatus.Caption(), "match 4 of 4");
  Press(ui::vk::Return);
  EXPECT_EQ(bar().lblFindStatus.Caption(), "match 1 of 4, from the top");
  Press(ui::vk::Return, ShiftState::Shift);
  EXPECT_EQ(bar().lblFindStatus.Caption(), "match 4 of 4, from the end");
  // Whole words for a text: "on" alone is nowhere.
  bar().chkExpression.SetChecked(false);
  bar().edtFind.SetText("ON");
  Press(ui::vk::Return);
  EXPECT_EQ(view.SelectedText(), "on");
  bar().chkWholeWords.SetChecked(true);
  Press(ui::vk::Return);
  EXPECT_EQ(bar().lblFindStatus.Caption(), "not found");
}

TEST_F(FindBarTest, TheHostsSearchFindsAnExpressionOnlyWhenAskedTo) {
  ui::TRAHLEditor& view = form->editor();
  view.SetSelStart(0);
  const TextMatch match = form->FindMatch("t[a-z]+out", 0, kSearchExpression);
  EXPECT_EQ(view.SelectedText(), "timeout");
  EXPECT_EQ(match.length, 7);
  EXPECT_EQ(form->FindMatch("t[a-z]+out", 0, 0).offset, kNotFound);  // a plain text
  EXPECT_EQ(form->FindMatch("(open", 0, kSearchExpression).offset, kNotFound);
  const TextMatch plain = form->FindMatch("refused again", 0, 0);
  EXPECT_EQ(plain.length, 13);
  EXPECT_EQ(view.SelectedText(), "refused again");
}

// With types of their own (a preset's), the jumps go to the lines of the first, second and
// third counted type, wherever their lines put a marker.
TEST(TypeJumps, OtherTypesJumpToTheLinesOfTheirCountedTypes) {
  headless::HeadlessToolkit toolkit;
  MemorySettings store;
  ScratchFolder folder;
  const std::string log = folder.Write("sys.log",
                                       "Dec 10 boot ok\nDec 10 kernel: crit: disk gone\n"
                                       "Dec 10 sshd: warn: slow\nDec 10 cron: crit: again\n");
  store.values["MsgTypes\\Count"] = "2";
  store.values["MsgTypes\\Item0"] = "crit";
  store.values["MsgTypes.crit\\Name"] = "Critical";
  store.values["MsgTypes.crit\\ExprCount"] = "1";
  store.values["MsgTypes.crit\\Expr0"] = "crit:";
  store.values["MsgTypes\\Item1"] = "warn";
  store.values["MsgTypes.warn\\Name"] = "Warn";
  store.values["MsgTypes.warn\\ExprCount"] = "1";
  store.values["MsgTypes.warn\\Expr0"] = "warn:";
  TForm1 form(toolkit, 1, log, store, platform::SystemDirectoryChangeSource());
  form.FormCreate();
  form.FormShow();
  toolkit.clock().Advance(50);
  // Named after those types where the user looks for them.
  EXPECT_EQ(form.controls().actGotoNextError.Caption(), "Goto next critical");
  EXPECT_EQ(form.controls().PopupMenu1.Items()[6]->Caption(), "Goto previous warn");
  EXPECT_EQ(form.controls().Button6.Hint(), "Goto next summary (Ctrl-U)");
  ui::TRAHLEditor& view = form.editor();
  const std::size_t body = form.viewerState().history.Count() + 1;
  view.MoveCaret(static_cast<int>(body), 0);
  form.actGotoNextErrorExecute();
  EXPECT_EQ(view.Line(static_cast<std::size_t>(view.CaretRow())), "Dec 10 kernel: crit: disk gone");
  form.actGotoNextWarningExecute();
  EXPECT_EQ(view.Line(static_cast<std::size_t>(view.CaretRow())), "Dec 10 sshd: warn: slow");
  ui::KeyCode key = 'E';
  form.FormKeyDown(key, ShiftState::Ctrl);
  EXPECT_EQ(view.Line(static_cast<std::size_t>(view.CaretRow())), "Dec 10 cron: crit: again");
  form.actGotoNextErrorExecute();  // none after it
  EXPECT_EQ(toolkit.Beeps(), 1);
  form.actGotoNextUrgentExecute();  // the third counted type is the summary closing the list
  EXPECT_EQ(view.Line(static_cast<std::size_t>(view.CaretRow())).substr(0, 4), "|   ");
}

}  // namespace
}  // namespace brontel::testing
