// The keys a viewer hands back to the host window, as the host's window procedure sees them.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/shells/win32/HostFixture.h"

namespace brontel::win32::testing {
namespace {

class HostKeysTest : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    UseSettingsFolder();
    folder_.Write("app.log", "one\r\ntwo\r\n");
    viewer_ = LoadAndShow(PathOf("app.log"));
    ASSERT_NE(viewer_, nullptr);
    view_ = TextViewOf(viewer_);
    ASSERT_NE(view_, nullptr);
    host_->ClearMessages();
  }

  HWND viewer_ = nullptr;
  HWND view_ = nullptr;
};

// The button or check box with this caption anywhere below `parent`.
HWND FindButton(HWND parent, const char* caption) {
  if (HWND found = ::FindWindowExA(parent, nullptr, "Button", caption))
    return found;
  for (HWND child = nullptr;
       (child = ::FindWindowExA(parent, child, nullptr, nullptr)) != nullptr;) {
    if (HWND found = FindButton(child, caption))
      return found;
  }
  return nullptr;
}

TEST_F(HostKeysTest, FunctionKeysAndCtrlQReachTheHostAsKeyDowns) {
  PressKey(view_, VK_F3);
  PressKey(view_, VK_F5, false, true);  // any modifiers
  PressKey(view_, VK_F7, true);
  PressKey(view_, 'Q', true);
  PressKey(view_, 'Q');  // without Ctrl it stays in the viewer
  EXPECT_EQ(host_->Messages(WM_KEYDOWN), (std::vector<HostMessage>{{WM_KEYDOWN, VK_F3, 0},
                                                                   {WM_KEYDOWN, VK_F5, 0},
                                                                   {WM_KEYDOWN, VK_F7, 0},
                                                                   {WM_KEYDOWN, 'Q', 0}}));
}

TEST_F(HostKeysTest, DigitsReachTheHostAsCharacters) {
  PressKey(view_, '3');
  PressKey(view_, '0');
  PressKey(view_, '3', false, true);  // Shift+3 does nothing
  EXPECT_EQ(host_->Messages(WM_CHAR),
            (std::vector<HostMessage>{{WM_CHAR, '3', 0}, {WM_CHAR, '0', 0}}));
  EXPECT_TRUE(host_->Messages(WM_KEYDOWN).empty());
}

TEST_F(HostKeysTest, EscapeClosesATopLevelHostWithBothParametersOne) {
  PressKey(view_, VK_ESCAPE);
  EXPECT_EQ(host_->Messages(WM_CLOSE), (std::vector<HostMessage>{{WM_CLOSE, 1, 1}}));
}

TEST_F(HostKeysTest, AHostThatClosesAtOnceOnEscapeTakesTheViewerAlong) {
  // What a file manager does with the close message: close the plug-in, destroy its window,
  // all while the viewer is still inside its own key handling.
  RecordingHost closing;
  HWND viewer = Load(PathOf("app.log"), 0, &closing);
  ASSERT_NE(viewer, nullptr);
  RecordingHost::Pump(200);
  HWND hostWindow = closing.window();
  closing.OnClose = [&] {
    plugin_.ListCloseWindow(viewer);
    ::DestroyWindow(hostWindow);
  };
  PressKey(TextViewOf(viewer), VK_ESCAPE);
  RecordingHost::Pump(100);
  EXPECT_FALSE(::IsWindow(viewer));
  EXPECT_FALSE(::IsWindow(hostWindow));
  EXPECT_EQ(plugin_.ListSearchText(viewer, "one", 0), 1);
  // The module keeps serving other viewers.
  EXPECT_EQ(plugin_.ListSearchText(viewer_, "two", kFindFirst), 0);
}

TEST_F(HostKeysTest, EscapeClosesTheOptionsPanelFirst) {
  HWND options = ::FindWindowExA(viewer_, nullptr, "BrontelPanel", nullptr);
  ASSERT_NE(options, nullptr);
  PressKey(view_, 'F', true);  // panel hidden: Ctrl+F is the host's
  EXPECT_EQ(host_->Messages(WM_KEYDOWN), (std::vector<HostMessage>{{WM_KEYDOWN, 'F', 0}}));
  host_->ClearMessages();
  // "O&ptions..." opens the floating panel; Esc then only closes it.
  HWND optionsButton = FindButton(viewer_, "O&ptions...");
  ASSERT_NE(optionsButton, nullptr);
  ::SendMessageA(optionsButton, BM_CLICK, 0, 0);
  HWND autoTail = FindButton(viewer_, "Auto tail mode (Ctrl-T)");
  ASSERT_NE(autoTail, nullptr);
  HWND optionsPanel = ::GetParent(autoTail);
  EXPECT_TRUE(::IsWindowVisible(optionsPanel));
  EXPECT_EQ(::SendMessageA(autoTail, BM_GETCHECK, 0, 0), BST_CHECKED);

  PressKey(view_, 'T', true);  // Ctrl+T toggles auto tail, and the box shows it
  EXPECT_EQ(::SendMessageA(autoTail, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ::SendMessageA(autoTail, BM_CLICK, 0, 0);  // a click on the box toggles it back
  EXPECT_EQ(::SendMessageA(autoTail, BM_GETCHECK, 0, 0), BST_CHECKED);

  PressKey(autoTail, VK_ESCAPE);  // keys of the panel's controls pass the key bindings too
  EXPECT_FALSE(::IsWindowVisible(optionsPanel));
  EXPECT_TRUE(host_->Messages(WM_CLOSE).empty());
  PressKey(view_, VK_ESCAPE);
  EXPECT_EQ(host_->Messages(WM_CLOSE), (std::vector<HostMessage>{{WM_CLOSE, 1, 1}}));
}

// However the panel closes, the text view has the focus again and the viewer's keys work.
TEST_F(HostKeysTest, ClosingTheOptionsPanelGivesTheTextViewTheFocus) {
  HWND optionsButton = FindButton(viewer_, "O&ptions...");
  HWND autoTail = FindButton(viewer_, "Auto tail mode (Ctrl-T)");
  ASSERT_TRUE(optionsButton && autoTail);
  ::SendMessageA(optionsButton, BM_CLICK, 0, 0);
  ASSERT_EQ(::GetFocus(), autoTail);
  PressKey(autoTail, VK_ESCAPE);
  EXPECT_EQ(::GetFocus(), view_);
  ::SendMessageA(optionsButton, BM_CLICK, 0, 0);
  ::SendMessageA(optionsButton, BM_CLICK, 0, 0);
  EXPECT_EQ(::GetFocus(), view_);
  ::SendMessageA(optionsButton, BM_CLICK, 0, 0);
  ::SendMessageA(FindButton(viewer_, "Load complete (Ctrl-L)"), BM_CLICK, 0, 0);
  EXPECT_EQ(::GetFocus(), view_);
  PressKey(::GetFocus(), 'L', true);  // unticks "Load complete": auto tail is on again
  EXPECT_EQ(::SendMessageA(autoTail, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(HostKeysTest, NAndPGiveTheHostTheFocusAndTheKey) {
  ::SetFocus(view_);
  const int focusBefore = host_->FocusGained();
  PressKey(view_, 'N');
  EXPECT_EQ(::GetFocus(), host_->window());
  EXPECT_GT(host_->FocusGained(), focusBefore);
  RecordingHost::Pump(200);  // the typed key arrives through the input queue
  const std::vector<HostMessage> downs = host_->Messages(WM_KEYDOWN);
  ASSERT_FALSE(downs.empty());
  EXPECT_EQ(downs.front().wParam, static_cast<WPARAM>('N'));
  EXPECT_FALSE(host_->Messages(WM_KEYUP).empty());
}

TEST_F(HostKeysTest, EscapeInAHostThatIsAChildWindowDoesNothing) {
  RecordingHost panel(host_->window(), 300, 200);
  HWND viewer = Load(PathOf("app.log"), 0, &panel);
  ASSERT_NE(viewer, nullptr);
  RecordingHost::Pump(200);
  PressKey(TextViewOf(viewer), VK_ESCAPE);
  EXPECT_TRUE(panel.Messages(WM_CLOSE).empty());
  PressKey(TextViewOf(viewer), VK_F3);
  EXPECT_EQ(panel.Messages(WM_KEYDOWN), (std::vector<HostMessage>{{WM_KEYDOWN, VK_F3, 0}}));
  Close(viewer);
}

}  // namespace
}  // namespace brontel::win32::testing
