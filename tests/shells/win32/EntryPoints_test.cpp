// The four entry points as a Windows host calls them: real windows, the real profile functions.

#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>  // builds on windows.h
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

#include "tests/shells/win32/HostFixture.h"

namespace brontel::win32::testing {
namespace {

using EntryPointsTest = HostFixture;

TEST_F(EntryPointsTest, AMissingSettingsFileGetsTheDefaultAssociations) {
  const std::string settings = UseSettingsFolder();
  EXPECT_EQ(folder_.Read(settings), "[EXT]\r\n.log=10\r\n.=10\r\n");
  folder_.Write("app.log", "one\r\ntwo\r\n");
  folder_.Write("app.txt", "one\r\n");
  // One viewer at a time, as a host opens one file after the other (two viewers at once are
  // the case below).
  HWND shown = Load(PathOf("app.log"));
  EXPECT_NE(shown, nullptr);
  Close(shown);
  EXPECT_EQ(Load(PathOf("app.txt")), nullptr);
  EXPECT_NE(Load(PathOf("app.txt"), kForceShow), nullptr);
}

TEST_F(EntryPointsTest, AnExistingSettingsFileIsLeftAlone) {
  folder_.Write("brontel.ini", "[Options]\r\nActive=1\r\n");
  UseSettingsFolder();
  EXPECT_EQ(folder_.Read("brontel.ini"), "[Options]\r\nActive=1\r\n");
}

TEST_F(EntryPointsTest, TheViewerIsABorderlessChildFillingTheHostWindow) {
  UseSettingsFolder();
  folder_.Write("app.log", "line\r\n");
  HWND viewer = Load(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(::GetParent(viewer), host_->window());
  const LONG_PTR style = ::GetWindowLongPtrA(viewer, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_FALSE(style & (WS_BORDER | WS_CAPTION | WS_THICKFRAME));

  RECT hostClient, viewerRect;
  ::GetClientRect(host_->window(), &hostClient);
  ::GetClientRect(viewer, &viewerRect);
  EXPECT_EQ(viewerRect.right, hostClient.right);
  EXPECT_EQ(viewerRect.bottom, hostClient.bottom);

  // The host resizes its window; the viewer and its text view follow.
  ::MoveWindow(host_->window(), 0, 0, 800, 600, TRUE);
  RecordingHost::Pump(50);
  ::GetClientRect(host_->window(), &hostClient);
  ::GetClientRect(viewer, &viewerRect);
  EXPECT_EQ(viewerRect.right, hostClient.right);
  EXPECT_EQ(viewerRect.bottom, hostClient.bottom);
  RECT textView;
  ::GetWindowRect(TextViewOf(viewer), &textView);
  ::MapWindowPoints(HWND_DESKTOP, viewer, reinterpret_cast<POINT*>(&textView), 2);
  EXPECT_EQ(textView.right, hostClient.right);
  EXPECT_EQ(textView.bottom, hostClient.bottom);
  EXPECT_EQ(textView.top, 20);  // below the top bar
}

struct ToolTipSearch {
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK FindToolTips(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ToolTipSearch*>(lParam);
  char className[64] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (::lstrcmpiA(className, "tooltips_class32") == 0 &&
      ::GetWindow(window, GW_OWNER) == search->owner) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

TEST_F(EntryPointsTest, TheNavigationBlockHasSixArrowButtonsWithHints) {
  UseSettingsFolder();
  folder_.Write("app.log", "line\r\n");
  HWND viewer = Load(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  int up = 0;
  int down = 0;
  for (HWND panel = nullptr;
       (panel = ::FindWindowExA(viewer, panel, "BrontelPanel", nullptr)) != nullptr;) {
    for (HWND button = nullptr;
         (button = ::FindWindowExA(panel, button, "Button", nullptr)) != nullptr;) {
      char caption[8] = {};
      ::GetWindowTextA(button, caption, sizeof caption);
      up += std::string(caption) == "t";
      down += std::string(caption) == "u";
    }
  }
  EXPECT_EQ(up, 3);
  EXPECT_EQ(down, 3);
  // The tooltips belong to the top-level host window (a child window owns no popups).
  ToolTipSearch search{host_->window()};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindToolTips, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  // Six for the arrow buttons, the others for the find bar's controls.
  EXPECT_GE(::SendMessageA(search.found, TTM_GETTOOLCOUNT, 0, 0), 6);
  Close(viewer);
  EXPECT_FALSE(::IsWindow(search.found)) << "they go with the viewer, not with the host";
}

TEST_F(EntryPointsTest, TheArrowHintsNameTheTypesInUse) {
  const std::string settings = UseSettingsFolder();
  folder_.Write(settings,
                "[EXT]\r\n.log=10\r\n[MsgTypes]\r\nCount=1\r\nItem0=crit\r\n[MsgTypes.crit]\r\n"
                "Name=Critical\r\nExprCount=1\r\nExpr0=crit:\r\n");
  folder_.Write("app.log", "kernel: crit: disk gone\r\n");
  HWND viewer = Load(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  ToolTipSearch search{host_->window()};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindToolTips, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  std::vector<std::string> hints;
  const auto count = ::SendMessageA(search.found, TTM_GETTOOLCOUNT, 0, 0);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.lpszText = text;
    if (::SendMessageA(search.found, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)))
      hints.emplace_back(text);
  }
  EXPECT_NE(std::find(hints.begin(), hints.end(), "Goto next critical (Ctrl-E)"), hints.end());
  EXPECT_NE(std::find(hints.begin(), hints.end(), "Goto previous critical (Shift-Ctrl-E)"),
            hints.end());
  Close(viewer);
}

TEST_F(EntryPointsTest, TwoViewersAnswerForTheirOwnFiles) {
  UseSettingsFolder();
  folder_.Write("a.log", "apple\r\n");
  folder_.Write("b.log", "banana\r\n");
  HWND a = Load(PathOf("a.log"));
  HWND b = Load(PathOf("b.log"));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(a, b);
  RecordingHost::Pump(300);
  EXPECT_EQ(plugin_.ListSearchText(a, "apple", kFindFirst), 0);
  EXPECT_EQ(plugin_.ListSearchText(a, "banana", kFindFirst), 1);
  EXPECT_EQ(plugin_.ListSearchText(b, "banana", kFindFirst), 0);
  Close(a);
  EXPECT_FALSE(::IsWindow(a));
  EXPECT_EQ(plugin_.ListSearchText(a, "apple", 0), 1);
  EXPECT_EQ(plugin_.ListSearchText(b, "banana", 0), 0);
  EXPECT_TRUE(::IsWindow(b));
}

TEST_F(EntryPointsTest, SearchFlagsChooseTheMatch) {
  UseSettingsFolder();
  folder_.Write("app.log", "ALPHABET soup\r\nthe Alpha line\r\nan alpha line\r\n");
  HWND viewer = LoadAndShow(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);

  // The caret starts at the end of the view: forwards wraps round to the first match.
  ASSERT_EQ(plugin_.ListSearchText(viewer, "alpha", kFindFirst), 0);
  EXPECT_EQ(SelectionOf(viewer), "ALPHA");
  ASSERT_EQ(plugin_.ListSearchText(viewer, "alpha", 0), 0);
  EXPECT_EQ(SelectionOf(viewer), "Alpha");
  ASSERT_EQ(plugin_.ListSearchText(viewer, "alpha", kMatchCase), 0);
  EXPECT_EQ(SelectionOf(viewer), "alpha");
  ASSERT_EQ(plugin_.ListSearchText(viewer, "alpha", kBackwards), 0);
  EXPECT_EQ(SelectionOf(viewer), "Alpha");
  ASSERT_EQ(plugin_.ListSearchText(viewer, "ALPHA", kWholeWords | kFindFirst), 0);
  EXPECT_EQ(SelectionOf(viewer), "alpha");
  ASSERT_EQ(plugin_.ListSearchText(viewer, "alpha", kWholeWords | kBackwards), 0);
  EXPECT_EQ(SelectionOf(viewer), "Alpha");
  EXPECT_EQ(plugin_.ListSearchText(viewer, "ALPHAB", kMatchCase | kWholeWords), 1);
  EXPECT_EQ(SelectionOf(viewer), "Alpha");  // a miss leaves the selection
  EXPECT_EQ(plugin_.ListSearchText(viewer, "absent", kFindFirst), 1);
}

TEST_F(EntryPointsTest, AMatchBeyondColumn1024IsSelectedExactlyAndSearchesMoveOnFromIt) {
  UseSettingsFolder();
  folder_.Write("app.log", "start\r\n" + std::string(1500, '.') + "Needle" + std::string(300, '.') +
                               "NEEDLE\r\n");
  HWND viewer = LoadAndShow(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(plugin_.ListSearchText(viewer, "needle", kFindFirst), 0);
  EXPECT_EQ(SelectionOf(viewer), "Needle");
  EXPECT_GT(::GetScrollPos(TextViewOf(viewer), SB_HORZ), 1100) << "scrolled to the match";
  ASSERT_EQ(plugin_.ListSearchText(viewer, "needle", 0), 0);
  EXPECT_EQ(SelectionOf(viewer), "NEEDLE");
  ASSERT_EQ(plugin_.ListSearchText(viewer, "needle", kBackwards), 0);
  EXPECT_EQ(SelectionOf(viewer), "Needle");
}

TEST_F(EntryPointsTest, AnAppendShowsAfterTheTailReload) {
  UseSettingsFolder();
  folder_.Write("app.log", "first\r\n");
  HWND viewer = LoadAndShow(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(plugin_.ListSearchText(viewer, "appended", kFindFirst), 1);
  folder_.Append("app.log", "appended\r\n");
  // The change check runs on a timer; an emulated 32-bit host needs far longer than a native one.
  bool shown = false;
  for (int waited = 0; waited < 20000 && !shown; waited += 100) {
    RecordingHost::Pump(100);
    shown = plugin_.ListSearchText(viewer, "appended", kFindFirst) == 0;
  }
  EXPECT_TRUE(shown);
}

TEST_F(EntryPointsTest, ClosingSavesTheOptionsAndDestroysTheWindow) {
  const std::string settings = UseSettingsFolder();
  folder_.Write("app.log", "line\r\n");
  HWND viewer = LoadAndShow(PathOf("app.log"));
  ASSERT_NE(viewer, nullptr);
  Close(viewer);
  EXPECT_FALSE(::IsWindow(viewer));
  const std::string written = folder_.Read(settings);
  EXPECT_NE(written.find("Options.AutoFollowMode=1\r\n"), std::string::npos) << written;
  plugin_.ListCloseWindow(viewer);  // a second close of the same handle does nothing
  EXPECT_EQ(plugin_.ListSearchText(viewer, "line", 0), 1);
}

TEST_F(EntryPointsTest, BadArgumentsAreDeclinedQuietly) {
  UseSettingsFolder();
  folder_.Write("app.log", "line\r\n");
  EXPECT_EQ(plugin_.ListLoad(reinterpret_cast<HWND>(0x1234), PathOf("app.log"), 0), nullptr);
  EXPECT_NE(Load(PathOf("missing.log")), nullptr);  // shown as empty, not refused
  plugin_.ListCloseWindow(nullptr);
  EXPECT_EQ(plugin_.ListSearchText(nullptr, "x", 0), 1);
  EXPECT_EQ(plugin_.ListSearchText(host_->window(), "x", 0), 1);
}

}  // namespace
}  // namespace brontel::win32::testing
