/** @file HostFixture.h: a scratch folder, a recording host window and the loaded module. */
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "plugin/ListerContract.h"
#include "tests/shells/win32/RecordingHost.h"
#include "tests/shells/win32/Win32PluginHost.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::win32::testing {

inline constexpr int kFindFirst = kSearchFindFirst;
inline constexpr int kMatchCase = kSearchMatchCase;
inline constexpr int kWholeWords = kSearchWholeWords;
inline constexpr int kBackwards = kSearchBackwards;

// The clipboard's CF_TEXT, empty when it has none.
std::string ClipboardText();

// Every test gets its own folder for the host's settings and the logs, a top-level host
// window, and has the viewers it opened closed at its end.
class HostFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The host's settings file in the test folder; answers the plug-in's beside it.
  std::string UseSettingsFolder();
  std::string PathOf(const std::string& name) const { return folder_.File(name); }
  // Loads `file` into `host` (the fixture's by default); a viewer it gets is sized and closed
  // by the fixture.
  HWND Load(const std::string& file, int flags = 0, RecordingHost* host = nullptr);
  void Close(HWND viewer);
  // Loads the log and lets the first tail load run.
  HWND LoadAndShow(const std::string& file);

  // The text view window of a viewer.
  static HWND TextViewOf(HWND viewer);
  // A key press in `window` with exactly the given modifiers held (the thread's key state).
  static void PressKey(HWND window, WORD key, bool ctrl = false, bool shift = false);
  // The text a Ctrl+C in the viewer's text view puts on the clipboard (its selection).
  static std::string SelectionOf(HWND viewer);

  Win32PluginHost& plugin_ = TheHost();
  brontel::testing::ScratchFolder folder_;
  RecordingHost* host_ = nullptr;

 private:
  struct Opened {
    HWND viewer;
    RecordingHost* host;
  };
  std::vector<Opened> opened_;
};

}  // namespace brontel::win32::testing
