// Control models on native windows: state both ways, layout, key routing and lifetime.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "shells/win32/ViewerWindow.h"
#include "shells/win32/Win32Cursor.h"
#include "shells/win32/Win32HostWindow.h"
#include "tests/shells/win32/RecordingHost.h"
#include "ui/Action.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/PopupMenu.h"
#include "ui/TRAHLEditor.h"

namespace brontel::win32::testing {
namespace {

// A small form laid out like a viewer: a text view filling it, a floating panel of option
// controls, a block anchored to the right edge.
struct TestForm {
  TestForm() {
    form.SetClientSize(400, 300);
    editor.SetParent(&form);
    editor.SetAlign(ui::Align::Client);
    editor.SetFont(ui::Font{"Courier New", -11, ui::FontStyle::None});
    for (int i = 0; i < 100; ++i)
      editor.AddLine("line " + std::to_string(i));
    block.SetParent(&form);
    block.SetBounds(ui::Rect::FromSize(350, 5, 40, 20));
    block.SetAnchors(ui::Anchors{false, true, true, false});
    panel.SetParent(&form);
    panel.SetBounds(ui::Rect::FromSize(10, 10, 200, 120));
    box.SetParent(&panel);
    box.SetBounds(ui::Rect::FromSize(5, 5, 150, 17));
    box.SetCaption("Auto tail");
    list.SetParent(&panel);
    list.SetBounds(ui::Rect::FromSize(5, 30, 100, 21));
    list.SetItems({"5 KB", "10 KB", "20 KB"});
    list.SetItemIndex(1);
    edit.SetParent(&panel);
    edit.SetBounds(ui::Rect::FromSize(5, 60, 100, 21));
    button.SetParent(&panel);
    button.SetBounds(ui::Rect::FromSize(5, 90, 60, 20));
    button.SetCaption("Close");
    label.SetParent(&panel);
    label.SetBounds(ui::Rect::FromSize(110, 64, 70, 15));
    label.SetCaption("&Basename:");
    history.SetShortCut(ui::scCtrl | 'H');
    history.OnExecute = [this](ui::Component&) { ++historyRuns; };
    nextError.SetShortCut(ui::scCtrl | 'E');
    nextError.OnExecute = [this](ui::Component&) { ++nextErrorRuns; };
    actions.Add(history);
    actions.Add(nextError);
    kinds.AddItem("Error").SetCaption("&Error");
    kinds.AddItem("Warning").SetCaption("&Warning");
    for (const auto& item : kinds.Items()) {
      item->SetChecked(item->name() == "Error");
      item->OnClick = [this](ui::Component& chosen) { kindsChosen.push_back(chosen.name()); };
    }
    kindsButton.SetParent(&form);
    kindsButton.SetBounds(ui::Rect::FromSize(300, 40, 18, 20));
    kindsButton.SetCaption("...");
    kindsButton.SetDropDownMenu(&kinds);
  }

  ui::Form form{"Form1"};
  ui::TRAHLEditor editor{"_editor"};
  ui::Panel block{"Block"};
  ui::Panel panel{"Panel9"};
  ui::CheckBox box{"chkActive"};
  ui::ComboBox list{"comBufferSize"};
  ui::Edit edit{"Edit1"};
  ui::Button button{"Button7"};
  ui::Label label{"Label3"};
  ui::Action history{"actGotoHistory"};
  ui::Action nextError{"actGotoNextError"};
  ui::ActionList actions{"ActionList2"};
  ui::PopupMenu kinds{"mnuKinds"};
  ui::Button kindsButton{"btnKinds"};
  int historyRuns = 0;
  int nextErrorRuns = 0;
  std::vector<std::string> kindsChosen;
};

// What the popup menu open on this thread shows; it then gets a W, which chooses its item of
// that mnemonic. Runs as a timer of the menu's own message loop.
struct ShownMenu {
  std::vector<bool> checks;
  int ticks = 0;
};
ShownMenu* shownMenu = nullptr;

void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND window = ::FindWindowA("#32768", nullptr);  // the class of popup menus
  if (window == nullptr || !::IsWindowVisible(window) || shownMenu == nullptr)
    return;
  if (++shownMenu->ticks > 1) {
    if (shownMenu->ticks > 200)
      ::EndMenu();  // the key did not close it: the test fails instead of hanging
    return;
  }
  auto* menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    shownMenu->checks.push_back((state & MF_CHECKED) != 0);
  }
  ::PostMessageA(window, WM_CHAR, 'w', 0);
}

class ShellControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::make_unique<RecordingHost>(nullptr, 500, 400);
    model_ = std::make_unique<TestForm>();
    window_ = &ViewerWindow::Open(
        model_->form, host_->window(), cursor_,
        [this](ui::KeyCode& key, ui::ShiftState) {
          previewed_.push_back(key);
          if (key == ui::vk::F3)
            key = 0;
        },
        &model_->actions);
    model_->form.SetVisible(true);
  }
  void TearDown() override {
    model_.reset();
    host_.reset();
  }
  HWND Native(const std::string& name) const { return window_->ControlWindow(name); }
  // Left, top, width and height of a control's window in its parent.
  std::vector<LONG> Placed(const std::string& name) const {
    RECT r;
    ::GetWindowRect(Native(name), &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(Native(name)), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  // The window's text as it draws it, in the font it was given.
  SIZE TextSize(const std::string& name) const {
    HWND window = Native(name);
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    HDC dc = ::GetDC(window);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT r{0, 0, 0, 0};
    ::DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return SIZE{r.right, r.bottom};
  }

  Win32Cursor cursor_;
  std::unique_ptr<RecordingHost> host_;
  std::unique_ptr<TestForm> model_;
  ViewerWindow* window_ = nullptr;
  std::vector<ui::KeyCode> previewed_;
};

TEST_F(ShellControlsTest, TheFormFillsTheHostAndFollowsItsSize) {
  RECT client;
  ::GetClientRect(window_->Window(), &client);
  RECT hostClient;
  ::GetClientRect(host_->window(), &hostClient);
  EXPECT_EQ(client.right, hostClient.right);
  EXPECT_EQ(model_->form.ClientWidth(), hostClient.right);

  ::MoveWindow(window_->Window(), 0, 0, hostClient.right + 100, hostClient.bottom, TRUE);
  EXPECT_EQ(model_->form.ClientWidth(), hostClient.right + 100);
  RECT block;
  ::GetWindowRect(Native("Block"), &block);
  ::MapWindowPoints(HWND_DESKTOP, window_->Window(), reinterpret_cast<POINT*>(&block), 2);
  EXPECT_EQ(block.right, model_->block.Bounds().right);
  EXPECT_EQ(hostClient.right + 100 - block.right, 10) << "the anchored block keeps its margin";
}

TEST_F(ShellControlsTest, ModelStateShowsInTheNativeControls) {
  HWND box = Native("chkActive");
  HWND list = Native("comBufferSize");
  HWND edit = Native("Edit1");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(::GetParent(box), Native("Panel9")) << "panels hold their children's windows";
  EXPECT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendMessageA(list, CB_GETCURSEL, 0, 0), 1);

  int clicks = 0;
  model_->box.OnClick = [&](ui::Component&) { ++clicks; };
  model_->box.SetChecked(true);
  EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 1) << "the model's own click, not a second one from the native box";
  model_->list.SetItemIndex(2);
  EXPECT_EQ(::SendMessageA(list, CB_GETCURSEL, 0, 0), 2);
  model_->edit.SetText("app");
  char text[32] = {};
  ::GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "app");
  model_->box.SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(box));
  model_->panel.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(box));
}

TEST_F(ShellControlsTest, UserInputReachesTheModels) {
  int boxClicks = 0;
  int listClicks = 0;
  int buttonClicks = 0;
  model_->box.OnClick = [&](ui::Component&) { ++boxClicks; };
  model_->list.OnClick = [&](ui::Component&) { ++listClicks; };
  model_->button.OnClick = [&](ui::Component&) { ++buttonClicks; };

  ::SendMessageA(Native("chkActive"), BM_CLICK, 0, 0);
  EXPECT_TRUE(model_->box.Checked());
  EXPECT_EQ(boxClicks, 1);
  ::SendMessageA(Native("Button7"), BM_CLICK, 0, 0);
  EXPECT_EQ(buttonClicks, 1);

  HWND list = Native("comBufferSize");
  ::SendMessageA(list, CB_SETCURSEL, 0, 0);
  ::SendMessageA(Native("Panel9"), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(model_->list.ItemIndex(), 0);
  EXPECT_EQ(listClicks, 1);

  ::SetWindowTextA(Native("Edit1"), "typed");
  EXPECT_EQ(model_->edit.Text(), "typed");
}

TEST_F(ShellControlsTest, ADropDownMenuShowsItsChecksAndRunsTheChoice) {
  ShownMenu shown;
  shownMenu = &shown;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, &ReadShownMenu);
  ::SendMessageA(Native("btnKinds"), BM_CLICK, 0, 0);
  ::KillTimer(nullptr, timer);
  shownMenu = nullptr;
  EXPECT_EQ(shown.checks, (std::vector<bool>{true, false}));
  EXPECT_EQ(model_->kindsChosen, std::vector<std::string>{"Warning"});
}

TEST_F(ShellControlsTest, CaptionsGetTheRoomTheirFontNeedsAtTheirPlace) {
  EXPECT_EQ(Placed("chkActive"), (std::vector<LONG>{5, 5, 150, 17}));  // they fit as designed
  EXPECT_EQ(Placed("Button7"), (std::vector<LONG>{5, 90, 60, 20}));
  EXPECT_EQ(Placed("Label3"), (std::vector<LONG>{110, 64, 70, 15}));
  const int box = ::GetSystemMetrics(SM_CXMENUCHECK);
  model_->box.SetCaption("Auto follow mode (Ctrl-F)");
  model_->button.SetCaption("Close the options");
  for (int height : {-11, -14, -17}) {  // the layout's font, at 125 % and at 150 %
    SCOPED_TRACE(height);
    for (ui::Control* control :
         std::vector<ui::Control*>{&model_->box, &model_->button, &model_->label})
      control->SetFont(ui::Font{"MS Sans Serif", height, ui::FontStyle::None});
    const std::vector<LONG> boxPlace = Placed("chkActive");
    EXPECT_EQ(boxPlace[0], 5);
    EXPECT_GE(boxPlace[2], box + TextSize("chkActive").cx);
    EXPECT_GE(boxPlace[3], TextSize("chkActive").cy);
    const std::vector<LONG> buttonPlace = Placed("Button7");
    EXPECT_EQ(buttonPlace[0], 5);
    EXPECT_GT(buttonPlace[2], TextSize("Button7").cx);
    const std::vector<LONG> labelPlace = Placed("Label3");
    EXPECT_EQ(labelPlace[0], 110);
    EXPECT_GE(labelPlace[2], TextSize("Label3").cx);
    EXPECT_GE(labelPlace[3], TextSize("Label3").cy);
  }
}

TEST_F(ShellControlsTest, TheTextViewFitsItsModelBetweenTheScrollBarsAndScrolls) {
  HWND view = Native("_editor");
  ASSERT_NE(view, nullptr);
  RECT client;
  ::GetClientRect(view, &client);
  EXPECT_EQ(model_->editor.ClientWidth(), client.right);
  EXPECT_EQ(model_->editor.ClientHeight(), client.bottom);
  EXPECT_LT(client.bottom, model_->form.ClientHeight()) << "the scroll bar takes its room";
  EXPECT_GT(model_->editor.CellSize().height, 5);

  ::SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(model_->editor.TopRow(), 1);
  ::SendMessageA(view, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(model_->editor.TopRow(), 1 + model_->editor.VisibleRows());
  ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(120)), 0);
  EXPECT_EQ(model_->editor.TopRow(), model_->editor.VisibleRows() - 2);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  ::GetScrollInfo(view, SB_VERT, &info);
  EXPECT_EQ(info.nPos, model_->editor.TopRow());
}

TEST_F(ShellControlsTest, KeysOfTheOptionControlsPassTheBindingsFirst) {
  HWND box = Native("chkActive");
  ::SendMessageA(box, WM_KEYDOWN, VK_F3, 0);
  ::SendMessageA(box, WM_KEYDOWN, VK_F5, 0);
  EXPECT_EQ(previewed_, (std::vector<ui::KeyCode>{ui::vk::F3, ui::vk::F5}));
  previewed_.clear();
  // Typing, moving and deleting stay in the field and the list.
  for (const char* field : {"Edit1", "comBufferSize"}) {
    for (WPARAM key : {WPARAM{'N'}, WPARAM{'1'}, WPARAM{VK_BACK}, WPARAM{VK_DELETE},
                       WPARAM{VK_HOME}, WPARAM{VK_LEFT}, WPARAM{VK_DOWN}})
      ::SendMessageA(Native(field), WM_KEYDOWN, key, 0);
  }
  ::SendMessageA(Native("comBufferSize"), WM_KEYDOWN, VK_END, 0);
  EXPECT_TRUE(previewed_.empty());
  EXPECT_EQ(model_->list.ItemIndex(), 2) << "End chose the last size";
  ::SendMessageA(Native("Edit1"), WM_KEYDOWN, VK_ESCAPE, 0);
  ::SendMessageA(Native("comBufferSize"), WM_KEYDOWN, VK_F3, 0);
  EXPECT_EQ(previewed_, (std::vector<ui::KeyCode>{ui::vk::Escape, ui::vk::F3}));
}

TEST_F(ShellControlsTest, UnusedKeysRunTheShortcutsTheBindingsLeaveAlone) {
  EXPECT_TRUE(window_->ShortCut('H', ui::ShiftState::Ctrl));
  EXPECT_EQ(model_->historyRuns, 1);
  // The bindings act on Ctrl+E themselves; its action must not run a second time.
  EXPECT_FALSE(window_->ShortCut('E', ui::ShiftState::Ctrl));
  EXPECT_EQ(model_->nextErrorRuns, 0);
  EXPECT_FALSE(window_->ShortCut('H', ui::ShiftState::None));
}

TEST_F(ShellControlsTest, DestroyingTheFormTakesItsWindowsAlong) {
  HWND form = window_->Window();
  HWND box = Native("chkActive");
  model_.reset();
  EXPECT_FALSE(::IsWindow(form));
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_TRUE(::IsWindow(host_->window()));
}

TEST_F(ShellControlsTest, AHostThatDestroysItsWindowFirstLeavesTheModelsWorking) {
  host_.reset();
  model_->box.SetChecked(true);  // no window to show it in: ignored
  model_->form.SetClientSize(100, 100);
  model_->editor.AddLine("more");
  model_.reset();
  SUCCEED();
}

TEST(Win32HostWindowTest, OnlyAChildHostHasAParentWindow) {
  RecordingHost topLevel;
  RecordingHost child(topLevel.window(), 100, 100);
  EXPECT_FALSE(Win32HostWindow(topLevel.window()).HasParentWindow());
  EXPECT_TRUE(Win32HostWindow(child.window()).HasParentWindow());
  Win32HostWindow(child.window()).Deliver(WM_KEYDOWN, VK_F7, 0);
  EXPECT_EQ(child.Messages(), (std::vector<HostMessage>{{WM_KEYDOWN, VK_F7, 0}}));
  Win32HostWindow gone(reinterpret_cast<HWND>(0x4321));
  gone.Deliver(WM_CLOSE, 1, 1);  // a window that is gone takes nothing
  gone.TakeFocus();
  EXPECT_FALSE(gone.HasParentWindow());
}

}  // namespace
}  // namespace brontel::win32::testing
