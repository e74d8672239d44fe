#include <gtest/gtest.h>

#include "shells/headless/RecordingCanvas.h"
#include "tests/viewer/ViewerFixture.h"

namespace brontel::testing {
namespace {

using headless::CanvasOp;
using headless::HostMessage;
using ui::ShiftState;

class Keys : public ViewerFixture {
 protected:
  void SetUp() override {
    ViewerFixture::SetUp();
    Write(logPath, "one\nE\tfirst error\ntwo\nE\tsecond error\nthree\n");
    Open();
    Advance(50);
    host().Reset();
  }
  ui::KeyCode Press(ui::KeyCode key, ShiftState shift = ShiftState::None) {
    form->FormKeyDown(key, shift);
    return key;
  }
};

TEST_F(Keys, EscClosesThePanelFirstThenATopLevelHost) {
  ViewerControls& c = form->controls();
  host().SetHasParentWindow(false);
  c.Panel9.SetVisible(true);
  Press(ui::vk::Escape);
  EXPECT_FALSE(c.Panel9.Visible());
  EXPECT_TRUE(host().Messages().empty());
  Press(ui::vk::Escape, ShiftState::Shift);
  EXPECT_EQ(host().Messages(), (std::vector<HostMessage>{{ui::msg::Close, 1, 1}}));
}

TEST_F(Keys, EscInsideAParentedHostDoesNothing) {
  Press(ui::vk::Escape);
  Press(ui::vk::Escape);
  EXPECT_TRUE(host().Messages().empty());
}

TEST_F(Keys, FunctionKeysAndCtrlQGoToTheHost) {
  Press(ui::vk::F3, ShiftState::Shift);
  Press(ui::vk::F5);
  Press(ui::vk::F7, ShiftState::Ctrl);
  Press('Q', ShiftState::Ctrl);
  Press('Q', ShiftState::Ctrl | ShiftState::Shift);
  EXPECT_EQ(host().Messages(), (std::vector<HostMessage>{{ui::msg::KeyDown, ui::vk::F3, 0},
                                                         {ui::msg::KeyDown, ui::vk::F5, 0},
                                                         {ui::msg::KeyDown, ui::vk::F7, 0},
                                                         {ui::msg::KeyDown, 'Q', 0}}));
}

TEST_F(Keys, CtrlFTogglesAutoFollowOnlyWithThePanelOpen) {
  ViewerControls& c = form->controls();
  Press('F', ShiftState::Ctrl);
  EXPECT_EQ(host().Messages(), (std::vector<HostMessage>{{ui::msg::KeyDown, 'F', 0}}));
  EXPECT_TRUE(form->options().AutoFollowMode);
  host().Reset();
  c.Panel9.SetVisible(true);
  Press('F', ShiftState::Ctrl);
  EXPECT_TRUE(host().Messages().empty());
  EXPECT_FALSE(c.CheckBox1.Checked());
  EXPECT_FALSE(form->options().AutoFollowMode);
}

TEST_F(Keys, DigitReachesTheHostAsACharacterShiftedDigitDoesNothing) {
  EXPECT_EQ(Press('3'), 0);
  EXPECT_EQ(host().Messages(), (std::vector<HostMessage>{{ui::msg::Char, '3', 0}}));
  host().Reset();
  EXPECT_EQ(Press('3', ShiftState::Shift), '3');
  EXPECT_TRUE(host().Events().empty());
}

TEST_F(Keys, CtrlTTogglesAutoTailCtrlShiftTDoesNothing) {
  Press('T', ShiftState::Ctrl | ShiftState::Shift);
  EXPECT_TRUE(form->controls().chkActive.Checked());
  EXPECT_TRUE(form->options().Active);
  EXPECT_EQ(Press('T', ShiftState::Ctrl), 'T');  // not consumed
  EXPECT_FALSE(form->controls().chkActive.Checked());
  EXPECT_FALSE(form->options().Active);
}

TEST_F(Keys, CtrlYAndCtrlLToggleTheirBoxes) {
  Press('Y', ShiftState::Ctrl);
  EXPECT_TRUE(form->options().AutoCycle);
  Press('L', ShiftState::Ctrl);
  EXPECT_TRUE(form->options().LoadCompleteFile);
  EXPECT_FALSE(form->options().Active);
}

TEST_F(Keys, NAndPFocusTheHostAndAreTypedThere) {
  EXPECT_EQ(Press('N'), 0);
  EXPECT_EQ(Press('P'), 0);
  EXPECT_EQ(host().Events(), (std::vector<HostMessage>{{0, 0, 0},
                                                       {ui::msg::KeyDown, 'N', 0},
                                                       {ui::msg::KeyUp, 'N', 0},
                                                       {0, 0, 0},
                                                       {ui::msg::KeyDown, 'P', 0},
                                                       {ui::msg::KeyUp, 'P', 0}}));
  EXPECT_EQ(Press('N', ShiftState::Ctrl), 'N');
  EXPECT_EQ(host().TypedKeys().size(), 2u);
}

TEST_F(Keys, NavigationKeysMissSilentlyActionsAndButtonsBeep) {
  // Rows: two history lines, separator, "one", error, "two", error, "three", footer.
  ui::TRAHLEditor& view = form->editor();
  view.SetCaretRow(0);
  Press('E', ShiftState::Ctrl);
  EXPECT_EQ(view.CaretRow(), 1);
  Press('E', ShiftState::Ctrl);
  EXPECT_EQ(view.CaretRow(), 4);
  Press('E', ShiftState::Ctrl);
  EXPECT_EQ(view.CaretRow(), 6);
  Press('E', ShiftState::Ctrl);
  EXPECT_EQ(view.CaretRow(), 6);
  EXPECT_EQ(toolkit.Beeps(), 0);
  form->controls().actGotoNextError.Execute();
  EXPECT_EQ(toolkit.Beeps(), 1);
  form->controls().Button1.Click();
  EXPECT_EQ(toolkit.Beeps(), 2);
  EXPECT_EQ(view.CaretRow(), 6);
  form->controls().Button2.Click();
  EXPECT_EQ(view.CaretRow(), 4);
  Press('E', ShiftState::Ctrl | ShiftState::Shift);
  EXPECT_EQ(view.CaretRow(), 1);
  Press('W', ShiftState::Ctrl);
  form->controls().Button5.Click();
  EXPECT_EQ(toolkit.Beeps(), 3);
}

TEST_F(Keys, CtrlCCopiesTheSelection) {
  form->editor().SetSelStart(0);
  form->editor().SetSelLength(3);
  Press('C', ShiftState::Ctrl);
  EXPECT_EQ(toolkit.memoryClipboard().Text(), "E  ");
  Press('A', ShiftState::Ctrl);
  EXPECT_EQ(form->GetSelLength(), form->GetTextLength());
}

using Options = Keys;

TEST_F(Options, OpenPanelStopsThePollAndClosingWithTheButtonRestartsIt) {
  ViewerControls& c = form->controls();
  c.SpeedButton1.Click();
  EXPECT_TRUE(c.Panel9.Visible());
  EXPECT_FALSE(c.Timer2->Enabled());
  EXPECT_TRUE(c.chkActive.Focused());
  c.SpeedButton1.Click();
  EXPECT_FALSE(c.Panel9.Visible());
  EXPECT_TRUE(c.Timer2->Enabled());
}

// However the panel closes (cross, Esc, options button), a typed base name is the option, and
// a change of another option does not wipe it.
TEST_F(Options, ATypedBaseNameStaysHoweverThePanelCloses) {
  ViewerControls& c = form->controls();
  c.SpeedButton1.Click();
  c.Edit1.SetText("app");
  c.Button7.Click();
  EXPECT_EQ(form->options().LastCycleName, "app");
  c.SpeedButton1.Click();
  c.Edit1.SetText("srv");
  Press(ui::vk::Escape);
  EXPECT_FALSE(c.Panel9.Visible());
  c.comBufferSize.UserSelect(4);
  EXPECT_EQ(c.Edit1.Text(), "srv");
  EXPECT_TRUE(form->FormCloseQuery());
  EXPECT_EQ(store.values["Options.LastCycleName"], "srv");
}

// Unticked (in the panel, closed with Esc, or by Ctrl+L), "Load complete" gives the tail view
// back at once with auto tail on, and is saved unticked.
TEST_F(Options, UntickingLoadCompleteReturnsToTheTailWithAutoTailOn) {
  ViewerControls& c = form->controls();
  c.chkComplete.SetChecked(true);
  ASSERT_EQ(Line(0), "E   first error");  // the complete view's history block
  Press('L', ShiftState::Ctrl);
  EXPECT_TRUE(c.chkActive.Checked());
  EXPECT_TRUE(c.Timer1->Enabled() && form->watcher()->Active());
  EXPECT_NE(LastLine().find(", Lines:"), std::string::npos) << LastLine();
  c.chkComplete.SetChecked(true);
  c.SpeedButton1.Click();
  c.chkComplete.SetChecked(false);
  Press(ui::vk::Escape);
  form->FormCloseQuery();
  EXPECT_EQ(store.values["Options.LoadCompleteFile"], "0");
  EXPECT_EQ(store.values["Options.Active"], "1");
}

TEST_F(Options, AutoTailOffDisablesItsDependentControls) {
  ViewerControls& c = form->controls();
  c.chkActive.SetChecked(false);
  EXPECT_FALSE(c.CheckBox1.Enabled());
  EXPECT_FALSE(c.comBufferSize.Enabled());
  EXPECT_TRUE(c.chkComplete.Enabled());
  EXPECT_TRUE(c.comMaxHistLines.Enabled());
  c.chkActive.SetChecked(true);
  EXPECT_TRUE(c.Edit1.Enabled());
}

TEST_F(Options, BufferChoiceChangesTheTailSize) {
  ViewerControls& c = form->controls();
  c.comBufferSize.UserSelect(6);
  EXPECT_EQ(form->options().LastBufferSizeIndex, 6);
  EXPECT_EQ(form->viewerState().bufferSize, 1048576);
  Advance(400);
  EXPECT_EQ(form->TailLoads(), 2u);  // at once, though the file did not change
  c.comMaxHistLines.UserSelect(0);
  EXPECT_EQ(form->viewerState().history.MaxLines(), 100);
}

TEST_F(Options, CloseQuerySavesTheOptions) {
  form->controls().comBufferSize.UserSelect(4);
  EXPECT_TRUE(form->FormCloseQuery());
  EXPECT_EQ(store.values["Options.LastBufferSizeIndex"], "4");
}

using Navigation = Keys;

TEST_F(Navigation, GotoHistoryFindsTheSeparatorAndPausesFollowingInThisViewOnly) {
  ui::TRAHLEditor& view = form->editor();
  ASSERT_EQ(form->viewerState().history.Count(), 2u);
  form->controls().actGotoHistory.Execute();
  EXPECT_EQ(view.CaretRow(), 2);
  EXPECT_TRUE(form->followPaused());
  EXPECT_TRUE(form->options().AutoFollowMode);  // what the next viewer starts with
  EXPECT_TRUE(form->controls().CheckBox1.Checked());
  EXPECT_TRUE(form->controls().Label2.Caption().ends_with(" [following paused]"));
  EXPECT_EQ(toolkit.Beeps(), 0);
  // The reloads keep the reader's place until the last line is back in view with the caret.
  Append("E\tthird error\n");
  form->CheckFileChanged();
  form->Timer1Timer();
  EXPECT_EQ(view.CaretRow(), 3);  // still on the separator, below the new history line
  view.MoveCaret(view.RowCount() - 1, 0);
  Append("four\nfive\n");
  form->CheckFileChanged();
  form->Timer1Timer();
  EXPECT_FALSE(form->followPaused());
  EXPECT_EQ(view.CaretRow(), view.RowCount() - 1);
  EXPECT_FALSE(form->controls().Label2.Caption().ends_with(" [following paused]"));
}

TEST_F(Navigation, GotoHistoryWithoutMarkerLinesBeeps) {
  Write(logPath, "a\nb\n");
  form.reset();
  Open();
  Advance(50);
  form->controls().chkComplete.SetChecked(true);  // the file's lines only, no markers
  form->controls().actGotoHistory.Execute();
  EXPECT_EQ(toolkit.Beeps(), 1);
  EXPECT_EQ(form->editor().CaretRow(), 0);
}

TEST_F(Navigation, CaretTriangleIsDrawnInTheCaretRowOnly) {
  ui::TRAHLEditor& view = form->editor();
  view.SetCellSize(ui::Size{7, 14});
  view.SetBounds(ui::Rect::FromSize(0, 20, 400, 140));
  view.SetCaretRow(3);
  headless::RecordingCanvas canvas;
  view.Paint(canvas);
  const std::vector<CanvasOp> lines = canvas.OpsOf(CanvasOp::Kind::LineTo);
  ASSERT_EQ(lines.size(), 3u);
  const ui::Rect row = view.CellRect(0, 3 - view.TopRow());
  EXPECT_EQ(lines[0].from, (ui::Point{5, row.top + 1}));
  EXPECT_EQ(lines[0].to, (ui::Point{5, row.bottom - 1}));
  EXPECT_EQ(lines[1].to, (ui::Point{9, row.top + row.Height() / 2}));
  EXPECT_EQ(lines[2].to, (ui::Point{5, row.top + 1}));
  for (const CanvasOp& op : lines)
    EXPECT_EQ(op.color, ui::clBlack);
  // The mark follows the caret; the status change asks for the gutter strip.
  view.TakeInvalidRect();
  view.SetCaretRow(1);
  EXPECT_EQ(view.TakeInvalidRect().left, 0);
  canvas.Reset();
  view.Paint(canvas);
  EXPECT_EQ(canvas.OpsOf(CanvasOp::Kind::LineTo)[0].from.y, view.CellRect(0, 1).top + 1);
}

TEST(Layout, ControlsCarryTheirDesignedLook) {
  headless::HeadlessToolkit toolkit;
  ui::Form form("Form1");
  ViewerControls c(form, toolkit);
  EXPECT_EQ(form.Bounds(), ui::Rect::FromSize(0, 0, 657, 595));
  EXPECT_EQ(c.Panel5.Bounds(), ui::Rect::FromSize(601, 23, 35, 25));
  EXPECT_EQ(c.Panel5.GetColor(), 0xE2E2E2u);
  EXPECT_EQ(c.Button3.Hint(), "Goto previous warning (Shift-Ctrl-W)");
  EXPECT_EQ(c.Button6.Hint(), "Goto next urgent (Ctrl-U)");
  EXPECT_EQ(c.Button6.Caption(), "u");
  EXPECT_EQ(c.Button6.GetFont().name, "Marlett");
  EXPECT_EQ(c.comBufferSize.Items().back(), "1 MB");
  EXPECT_EQ(c.comMaxHistLines.Items().back(), "unlimited");
  EXPECT_EQ(c.Timer1->Interval(), 50u);
  EXPECT_FALSE(c.Timer1->Enabled());
  EXPECT_TRUE(c.Timer2->Enabled());
  std::vector<std::string> menu;
  for (const auto& item : c.PopupMenu1.Items())
    menu.push_back(item->Caption());
  EXPECT_EQ(menu, (std::vector<std::string>{
                      "Copy", "Select &all", "-", "Goto History", "Goto previous error",
                      "Goto next error", "Goto previous warning", "Goto next warning",
                      "Goto previous urgent", "Goto next urgent", "-", "&Find and filter..."}));
  EXPECT_TRUE(c.ActionList2.HandleShortCut('H', ShiftState::Ctrl) == false);  // no handler bound
  EXPECT_EQ(c.actGotoPrevUrgent.GetShortCut(), ui::scShift | ui::scCtrl | 'U');
}

}  // namespace
}  // namespace brontel::testing
