#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/CaptionRoom.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/PopupMenu.h"
#include "ui/ScreenCursor.h"
#include "ui/Timer.h"

namespace brontel::ui {
namespace {

TEST(CheckBoxTest, SettingTheStateFromCodeRunsTheClickHandlerOnlyOnAChange) {
  CheckBox box("chkActive");
  std::vector<bool> clicks;
  box.OnClick = [&](Component& sender) {
    EXPECT_EQ(&sender, &box);
    clicks.push_back(box.Checked());  // the handler already sees the new state
  };
  box.SetChecked(true);
  box.SetChecked(true);
  box.Toggle();
  EXPECT_EQ(clicks, (std::vector<bool>{true, false}));
  box.SetEnabled(false);
  box.Click();  // a user cannot click a disabled box
  EXPECT_FALSE(box.Checked());
  box.SetChecked(true);  // code still can
  EXPECT_EQ(clicks.size(), 3u);
}

TEST(ComboBoxTest, UserChoiceRunsHandlersCodeOnlyNotifies) {
  int clicks = 0;  // declared before the box: its destruction is announced to the observer
  int changes = 0;
  int notified = 0;
  ComboBox combo("comBufferSize");
  combo.SetItems({"5 KB", "10 KB", "20 KB"});
  combo.OnClick = [&](Component&) { ++clicks; };
  combo.OnChange = [&](Component&) { ++changes; };
  combo.AddObserver([&](Component&, Change c) { notified += c == Change::ItemIndex; });
  combo.SetItemIndex(2);
  EXPECT_EQ(combo.Text(), "20 KB");
  EXPECT_EQ(clicks, 0);
  combo.UserSelect(1);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(changes, 1);
  combo.UserSelect(7);  // out of range: ignored
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.SetItemIndex(9);  // out of range from code: nothing selected
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(notified, 3);
  combo.SetItemIndex(2);
  combo.SetItems({"only"});  // the index no longer fits
  EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST(FocusTest, FocusMovesWithinTheFormAndRunsExitAndEnter) {
  Form form("Form1");
  Panel panel("Panel9");
  Edit edit("Edit1");
  CheckBox box("chkActive");
  panel.SetParent(&form);
  edit.SetParent(&panel);
  box.SetParent(&panel);
  std::vector<std::string> events;
  edit.OnExit = [&](Component& c) { events.push_back("exit " + c.name()); };
  box.OnEnter = [&](Component& c) { events.push_back("enter " + c.name()); };
  EXPECT_TRUE(edit.SetFocus());
  EXPECT_TRUE(edit.Focused());
  EXPECT_EQ(form.FocusedControl(), &edit);
  EXPECT_TRUE(box.SetFocus());
  EXPECT_FALSE(edit.Focused());
  EXPECT_EQ(events, (std::vector<std::string>{"exit Edit1", "enter chkActive"}));
  // Hiding the panel takes the focus from the control inside it.
  panel.SetVisible(false);
  EXPECT_FALSE(box.Showing());
  EXPECT_EQ(form.FocusedControl(), nullptr);
  EXPECT_FALSE(box.SetFocus());
  panel.SetVisible(true);
  box.SetEnabled(false);
  EXPECT_FALSE(box.SetFocus());
}

TEST(FocusTest, ADestroyedControlLeavesNoDanglingFocusOrParent) {
  Form form("Form1");
  {
    Edit edit("Edit1");
    edit.SetParent(&form);
    edit.SetFocus();
  }
  EXPECT_EQ(form.FocusedControl(), nullptr);
  EXPECT_TRUE(form.Children().empty());
  Edit orphan("Edit2");
  {
    Panel panel("Panel1");
    orphan.SetParent(&panel);
  }
  EXPECT_EQ(orphan.Parent(), nullptr);
}

TEST(LabelTest, AcceleratorFocusesItsControl) {
  Form form("Form1");
  Label label("Label3");
  Edit edit("Edit1");
  label.SetParent(&form);
  edit.SetParent(&form);
  label.SetCaption("&Basename:");
  label.SetFocusControl(&edit);
  EXPECT_EQ(label.Accelerator(), 'B');
  EXPECT_TRUE(label.ActivateAccelerator());
  EXPECT_TRUE(edit.Focused());
  EXPECT_EQ(CaptionAccelerator("B&uffersize:"), 'U');
  EXPECT_EQ(CaptionAccelerator("Fish && Chips"), 0);
  EXPECT_EQ(CaptionAccelerator("trailing&"), 0);
}

TEST(LayoutTest, AlignedChildrenShareTheParentAndAnchorsFollowResizes) {
  Form form("Form1");
  Panel top("Panel1");
  Panel left("Panel3");
  Control client("_editor");
  Panel corner("Panel5");
  top.SetBounds(Rect::FromSize(0, 0, 10, 20));
  left.SetBounds(Rect::FromSize(0, 0, 81, 10));
  corner.SetBounds(Rect::FromSize(601, 23, 35, 25));
  corner.SetAnchors(Anchors{false, true, true, false});
  for (Control* c : std::vector<Control*>{&top, &client, &corner})
    c->SetParent(&form);
  left.SetParent(&top);
  top.SetAlign(Align::Top);
  client.SetAlign(Align::Client);
  left.SetAlign(Align::Left);
  form.SetClientSize(657, 595);
  EXPECT_EQ(top.Bounds(), (Rect{0, 0, 657, 20}));
  EXPECT_EQ(left.Bounds(), (Rect{0, 0, 81, 20}));
  EXPECT_EQ(client.Bounds(), (Rect{0, 20, 657, 595}));
  EXPECT_EQ(corner.Bounds(), (Rect::FromSize(601, 23, 35, 25)));
  form.SetClientSize(757, 400);
  EXPECT_EQ(client.Bounds(), (Rect{0, 20, 757, 400}));
  EXPECT_EQ(corner.Bounds(), (Rect::FromSize(701, 23, 35, 25)));
  top.SetVisible(false);  // a hidden aligned control gives its room away
  EXPECT_EQ(client.Bounds(), (Rect{0, 0, 757, 400}));
}

TEST(ActionTest, ShortcutsFindTheActionWithExactlyThoseModifiers) {
  ActionList list("ActionList2");
  Action next("actGotoNextError");
  Action prev("actGotoPrevError");
  next.SetShortCut(MakeShortCut('E', ShiftState::Ctrl));
  prev.SetShortCut(MakeShortCut('E', ShiftState::Shift | ShiftState::Ctrl));
  std::vector<std::string> ran;
  next.OnExecute = [&](Component& c) { ran.push_back(c.name()); };
  prev.OnExecute = [&](Component& c) { ran.push_back(c.name()); };
  list.Add(next);
  list.Add(prev);
  EXPECT_TRUE(list.HandleShortCut('E', ShiftState::Ctrl));
  EXPECT_TRUE(list.HandleShortCut('E', ShiftState::Ctrl | ShiftState::Shift | ShiftState::Left));
  EXPECT_FALSE(list.HandleShortCut('E', ShiftState::None));
  EXPECT_FALSE(list.HandleShortCut('E', ShiftState::Ctrl | ShiftState::Alt));
  next.SetEnabled(false);
  EXPECT_FALSE(list.HandleShortCut('E', ShiftState::Ctrl));
  EXPECT_EQ(ran, (std::vector<std::string>{"actGotoNextError", "actGotoPrevError"}));
  EXPECT_EQ(list.Find("actGotoPrevError"), &prev);
  EXPECT_EQ(list.Find("missing"), nullptr);
}

TEST(ActionTest, ShortcutTexts) {
  EXPECT_EQ(ShortCutToText(MakeShortCut('E', ShiftState::Shift | ShiftState::Ctrl)),
            "Shift+Ctrl+E");
  EXPECT_EQ(ShortCutToText(MakeShortCut('H', ShiftState::Ctrl)), "Ctrl+H");
  EXPECT_EQ(ShortCutToText(MakeShortCut(vk::F3, ShiftState::None)), "F3");
  EXPECT_EQ(ShortCutToText(0), "");
  const ShortCut sc = MakeShortCut('A', ShiftState::Ctrl | ShiftState::Alt);
  EXPECT_EQ(ShortCutKey(sc), 'A');
  EXPECT_EQ(ShortCutShift(sc), ShiftState::Ctrl | ShiftState::Alt);
}

TEST(PopupMenuTest, ItemsFollowTheirActions) {
  Action copy("EditCopy2");
  copy.SetCaption("Copy");
  copy.SetShortCut(MakeShortCut('C', ShiftState::Ctrl));
  int copies = 0;
  copy.OnExecute = [&](Component&) { ++copies; };
  PopupMenu menu("PopupMenu1");
  MenuItem& item = menu.AddItem("Copy1");
  item.SetAction(&copy);
  MenuItem& separator = menu.AddItem("N1");
  separator.SetCaption("-");
  EXPECT_EQ(item.Caption(), "Copy");
  EXPECT_EQ(ShortCutToText(item.GetShortCut()), "Ctrl+C");
  EXPECT_TRUE(separator.IsSeparator());
  item.Click();
  EXPECT_EQ(copies, 1);
  copy.SetEnabled(false);
  EXPECT_FALSE(item.Enabled());
  item.Click();
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(menu.Find("N1"), &separator);
}

TEST(PopupMenuTest, AnItemsOwnShortCutShowsWhenItsActionHasNone) {
  Action selectAll("EditSelectAll1");
  PopupMenu menu("PopupMenu1");
  MenuItem& item = menu.AddItem("Selectall1");
  item.SetAction(&selectAll);
  item.SetShortCut(MakeShortCut('A', ShiftState::Ctrl));
  EXPECT_EQ(ShortCutToText(item.GetShortCut()), "Ctrl+A");
  selectAll.SetShortCut(MakeShortCut(vk::F3, ShiftState::None));
  EXPECT_EQ(ShortCutToText(item.GetShortCut()), "F3");
}

TEST(CaptionBoundsTest, ACaptionThatDoesNotFitGrowsClearOfItsRightNeighbour) {
  Panel panel("Panel9");
  Label label("Label1");
  label.SetParent(&panel);
  label.SetBounds(Rect::FromSize(6, 132, 90, 15));
  ComboBox list("comMaxHistLines");
  list.SetParent(&panel);
  list.SetBounds(Rect::FromSize(99, 128, 85, 21));
  EXPECT_EQ(CaptionBounds(label, Size{90, 13}), label.Bounds());
  EXPECT_EQ(CaptionBounds(label, Size{97, 13}), Rect::FromSize(2, 132, 97, 15));
  // Without room before the neighbour it stops at the parent's edge; a taller text grows
  // about the middle line.
  EXPECT_EQ(CaptionBounds(label, Size{120, 20}), Rect::FromSize(0, 130, 120, 20));
  label.SetAlign(Align::Client);
  EXPECT_EQ(CaptionBounds(label, Size{120, 20}), label.Bounds());
}

TEST(ButtonTest, ClickRunsTheHandlerOnlyWhenEnabled) {
  Button button("Button1");
  int clicks = 0;
  button.OnClick = [&](Component&) { ++clicks; };
  button.Click();
  button.SetEnabled(false);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

// The handler runs first, so that the menu it pops up shows the state it brought up to date.
TEST(ButtonTest, ADropDownMenuPopsUpBelowTheButtonAfterItsHandler) {
  PopupMenu menu("mnuKinds");
  MenuItem& item = menu.AddItem("Error");
  Button button("btnKinds");
  button.SetBounds(Rect::FromSize(10, 2, 18, 20));
  button.SetDropDownMenu(&menu);
  button.OnClick = [&](Component&) { item.SetChecked(true); };
  std::vector<bool> checkedWhenShown;
  menu.AddObserver([&](Component&, Change change) {
    if (change == Change::Popup)
      checkedWhenShown.push_back(item.Checked());
  });
  button.Click();
  EXPECT_EQ(checkedWhenShown, std::vector<bool>{true});
  EXPECT_EQ(menu.PopupPoint().x, 0);
  EXPECT_EQ(menu.PopupPoint().y, 20);
  button.SetEnabled(false);
  button.Click();
  EXPECT_EQ(checkedWhenShown.size(), 1U);
}

TEST(ObserverTest, ObserversSeeChangesInOrderAndMayRemoveThemselves) {
  std::vector<std::string> seen;  // outlives the timer, which announces its destruction
  Timer timer("Timer1", 50, false);
  Component::ObserverId first = 0;
  first = timer.AddObserver([&](Component& c, Change change) {
    seen.push_back("first");
    if (change == Change::Enabled)
      static_cast<Timer&>(c).RemoveObserver(first);
  });
  timer.AddObserver([&](Component&, Change) { seen.push_back("second"); });
  timer.SetEnabled(true);
  timer.SetInterval(400);
  timer.SetInterval(400);  // unchanged: nobody hears of it
  EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "second"}));
}

TEST(ObserverTest, DestructionIsAnnounced) {
  std::vector<Change> seen;
  {
    Edit edit("Edit1");
    edit.AddObserver([&](Component&, Change c) { seen.push_back(c); });
    edit.SetText("x");
  }
  EXPECT_EQ(seen, (std::vector<Change>{Change::Text, Change::Destroyed}));
}

class FakeCursor : public ScreenCursor {
 public:
  Cursor Current() const override { return current; }
  void Set(Cursor cursor) override { current = cursor; }
  void ProcessMessages() override { ++processed; }
  Cursor current = Cursor::IBeam;
  int processed = 0;
};

TEST(CursorStateTest, GuardsRestoreTheCursorTheyFound) {
  FakeCursor cursor;
  {
    iCursorState wait(cursor);
    EXPECT_EQ(cursor.current, Cursor::HourGlass);
    EXPECT_EQ(cursor.processed, 1);
    {
      iBusyState busy(cursor);
      cursor.Set(Cursor::Arrow);
    }
    EXPECT_EQ(cursor.current, Cursor::HourGlass);
  }
  EXPECT_EQ(cursor.current, Cursor::IBeam);
}

}  // namespace
}  // namespace brontel::ui
