#include "plugin/TListWindowIntf.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/PlatformError.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/ScratchFolder.h"
#include "ui/TRAHLEditor.h"

namespace brontel {
namespace {

constexpr std::uintptr_t kHostHandle = 0x4711;
constexpr int kForwards = 0;
constexpr int kBackwards = kSearchBackwards;

// A viewer as the viewer window builds one: a text view filling the form, a history text and
// the viewer's lock, every operation delegated to the shared implementation.
class ViewerUnderTest : public TListWindowIntf {
 public:
  ViewerUnderTest(ui::Toolkit& toolkit, std::uintptr_t parent)
      : TListWindowIntf(toolkit, parent, "Form1"), editor("_editor") {
    editor.SetParent(this);
    editor.SetCellSize(ui::Size{7, 14});
    editor.SetGutterWidth(14);
    // 40 columns by 10 rows of text.
    editor.SetBounds(ui::Rect{0, 20, 14 + 7 * 40, 20 + 14 * 10});
  }

  TextOffset FindText(std::string_view pattern, TextOffset start, int flags) override {
    ++findTextCalls;
    return FindTextInView(editor, pattern, start, flags);
  }
  TextOffset FindTextPos(std::string_view pattern, TextOffset start, int flags) override {
    return FindTextPosInView(editor, pattern, start, flags);
  }
  int SaveHistory(const std::string& fileName) override {
    return SaveHistoryText(viewerLock, history, fileName);
  }
  int SaveLines(const std::string& fileName) override {
    return SaveViewLines(viewerLock, editor, fileName);
  }
  void SetSelStart(TextOffset offset) override { SetSelStartInView(editor, offset); }
  TextOffset GetSelStart() override { return GetSelStartInView(editor); }
  void SetSelLength(TextOffset count) override { SetSelLengthInView(editor, count); }
  TextOffset GetSelLength() override { return GetSelLengthInView(editor); }
  TextOffset GetTextLength() override { return GetTextLengthInView(editor); }

  void Show(const std::vector<std::string>& lines) { editor.AssignLines(lines); }

  ui::TRAHLEditor editor;
  std::string history;  // lines each followed by CR LF, as the line history keeps them
  std::recursive_mutex viewerLock;
  int findTextCalls = 0;
};

class WindowHost : public ::testing::Test {
 protected:
  headless::HeadlessToolkit toolkit;
  ViewerUnderTest viewer{toolkit, kHostHandle};
};

// --- construction and windows ------------------------------------------------------------------

TEST_F(WindowHost, ParentedViewerKeepsTheHostWindowAndStartsWithoutPath) {
  EXPECT_TRUE(viewer.path.empty());
  EXPECT_EQ(viewer.ParentWindow(), kHostHandle);
  ASSERT_NE(viewer.Host(), nullptr);
  EXPECT_EQ(viewer.Host()->NativeHandle(), kHostHandle);
  EXPECT_FALSE(viewer.HasBorder());
  EXPECT_EQ(&viewer.toolkit(), &toolkit);

  viewer.Host()->SendKeyDown(ui::KeyCode{0x4E}, 0x31);
  ASSERT_EQ(toolkit.Host(kHostHandle).Messages().size(), 1u);
  EXPECT_EQ(toolkit.Host(kHostHandle).Messages()[0],
            (headless::HostMessage{ui::msg::KeyDown, 0x4E, 0x31}));
}

TEST_F(WindowHost, FormWithoutHostWindowHasNoneAndKeepsItsBorder) {
  struct Plain : TListWindowIntf {
    explicit Plain(ui::Toolkit& toolkit) : TListWindowIntf(toolkit, "Plain") {}
    TextOffset FindText(std::string_view, TextOffset, int) override { return kNotFound; }
    TextOffset FindTextPos(std::string_view, TextOffset, int) override { return kNotFound; }
    int SaveHistory(const std::string&) override { return 1; }
    int SaveLines(const std::string&) override { return 1; }
    void SetSelStart(TextOffset) override {}
    TextOffset GetSelStart() override { return 0; }
    void SetSelLength(TextOffset) override {}
    TextOffset GetSelLength() override { return 0; }
    TextOffset GetTextLength() override { return 0; }
  } plain(toolkit);
  EXPECT_EQ(plain.Host(), nullptr);
  EXPECT_EQ(plain.ParentWindow(), 0u);
  EXPECT_TRUE(plain.HasBorder());
  EXPECT_TRUE(plain.path.empty());
}

TEST_F(WindowHost, NativeHandlesTellViewersApartUntilAndAfterTheShellBindsThem) {
  ViewerUnderTest second(toolkit, kHostHandle);
  EXPECT_NE(viewer.NativeHandle(), 0u);
  EXPECT_NE(viewer.NativeHandle(), second.NativeHandle());
  EXPECT_EQ(viewer.NativeHandle(), viewer.NativeHandle());

  viewer.BindNativeWindow(0x9000);
  second.BindNativeWindow(0x9010);
  EXPECT_EQ(viewer.NativeHandle(), 0x9000u);
  EXPECT_EQ(second.NativeHandle(), 0x9010u);
}

// --- text length and selection -----------------------------------------------------------------

TEST_F(WindowHost, TextLengthCountsTwoCharactersForEveryLineEnd) {
  EXPECT_EQ(viewer.GetTextLength(), 0);
  viewer.Show({"ab", "c"});
  EXPECT_EQ(viewer.GetTextLength(), 7);
  viewer.Show({"", ""});
  EXPECT_EQ(viewer.GetTextLength(), 4);
}

TEST_F(WindowHost, SelectionStartsAtTheCaretAndLeavesItAtTheEnd) {
  viewer.Show({"first line", "second line"});
  viewer.SetSelStart(14);  // the "c" of "second"
  EXPECT_EQ(viewer.GetSelStart(), 14);
  EXPECT_EQ(viewer.GetSelLength(), 0);
  viewer.SetSelLength(3);
  EXPECT_EQ(viewer.editor.SelectedText(), "con");
  EXPECT_EQ(viewer.GetSelLength(), 3);
  EXPECT_EQ(viewer.GetSelStart(), 17);

  viewer.SetSelStart(2);  // clears the selection
  EXPECT_EQ(viewer.GetSelLength(), 0);
  viewer.SetSelStart(-5);
  EXPECT_EQ(viewer.GetSelStart(), 0);
}

TEST_F(WindowHost, SettingTheSelectionStartBringsAFarLineIntoView) {
  std::vector<std::string> lines;
  for (int i = 0; i < 100; ++i)
    lines.push_back("line " + std::to_string(i));
  viewer.Show(lines);
  const auto lineStart = static_cast<TextOffset>(viewer.editor.Lines().LineStart(70));
  viewer.SetSelStart(lineStart + 2);
  EXPECT_EQ(viewer.editor.CaretRow(), 70);
  EXPECT_EQ(viewer.editor.CaretCol(), 2);
  EXPECT_LE(viewer.editor.TopRow(), 70);
  EXPECT_GT(viewer.editor.TopRow() + viewer.editor.VisibleRows(), 70);
}

// --- FindText ----------------------------------------------------------------------------------

TEST_F(WindowHost, ForwardSearchSelectsTheMatchAndRepeatsToTheNextOne) {
  viewer.Show({"an error here", "another error", "no match"});
  EXPECT_EQ(viewer.FindText("error", 0, kForwards), 3);
  EXPECT_EQ(viewer.editor.SelectedText(), "error");
  EXPECT_EQ(viewer.GetSelStart(), 8);  // the caret stands at the match's end
  EXPECT_EQ(viewer.FindText("error", 0, kForwards), 23);
  EXPECT_EQ(viewer.editor.CaretRow(), 1);
  EXPECT_EQ(viewer.editor.CaretCol(), 13);
  // After the last one the search wraps around to the first.
  EXPECT_EQ(viewer.FindText("error", 0, kForwards), 3);
  EXPECT_EQ(viewer.editor.CaretRow(), 0);
  EXPECT_EQ(viewer.editor.SelectedText(), "error");
}

TEST_F(WindowHost, ForwardSearchFromACaretAfterTheLastMatchWrapsToTheFirst) {
  viewer.Show({"abc x", "abc y", "tail"});
  viewer.SetSelStart(16);  // inside "tail"
  EXPECT_EQ(viewer.FindText("abc", 0, kForwards), 0);
  EXPECT_EQ(viewer.GetSelStart(), 3);
  EXPECT_EQ(viewer.GetSelLength(), 3);
}

TEST_F(WindowHost, BackwardSearchWalksToThePreviousMatchesAndWrapsToTheLast) {
  viewer.Show({"abc abc", "abc", "end"});
  viewer.SetSelStart(viewer.GetTextLength());  // the end of "end"
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 9);
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 4);
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 0);
  EXPECT_EQ(viewer.GetSelStart(), 3);
  // The caret now stands at 3: the region before it holds no match, the whole text does.
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 9);
  EXPECT_EQ(viewer.editor.SelectedText(), "abc");
}

TEST_F(WindowHost, BackwardSearchRightBehindTheOnlyMatchFindsItAgainByWrapping) {
  viewer.Show({"x abc"});
  viewer.SetSelStart(5);
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 2);
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 2);
  EXPECT_EQ(viewer.editor.SelectedText(), "abc");
}

TEST_F(WindowHost, BackwardSearchFromACaretBeforeTheFirstMatchWrapsToTheLast) {
  viewer.Show({"xx warn", "warn yy", "zz"});
  viewer.SetSelStart(1);
  EXPECT_EQ(viewer.FindText("warn", 0, kBackwards), 9);
  EXPECT_EQ(viewer.editor.CaretRow(), 1);
  EXPECT_EQ(viewer.editor.CaretCol(), 4);
}

TEST_F(WindowHost, SearchWithTheCaretAtTheStartCoversTheWholeTextOnce) {
  viewer.Show({"abc", "abc"});
  EXPECT_EQ(viewer.FindText("abc", 0, kForwards), 0);
  viewer.SetSelStart(0);
  EXPECT_EQ(viewer.FindText("abc", 0, kBackwards), 5);
  viewer.SetSelStart(0);
  EXPECT_EQ(viewer.FindText("abd", 0, kBackwards), kNotFound);
}

TEST_F(WindowHost, AnExplicitStartIsUsedInsteadOfTheCaret) {
  viewer.Show({"abc abc abc"});
  viewer.SetSelStart(9);
  EXPECT_EQ(viewer.FindText("abc", 5, kForwards), 8);
  EXPECT_EQ(viewer.FindText("abc", 10, kBackwards), 4);
  // Nothing after 9 forwards: the second search from 0 finds the first one.
  EXPECT_EQ(viewer.FindText("abc", 9, kForwards), 0);
}

TEST_F(WindowHost, AMissLeavesCaretAndSelectionAlone) {
  viewer.Show({"first line", "second line"});
  viewer.SetSelStart(13);
  viewer.SetSelLength(4);
  for (int flags : {kForwards, kBackwards, kSearchWholeWords, kSearchMatchCase}) {
    EXPECT_EQ(viewer.FindText("nowhere", 0, flags), kNotFound);
    EXPECT_EQ(viewer.GetSelStart(), 17);
    EXPECT_EQ(viewer.GetSelLength(), 4);
    EXPECT_EQ(viewer.editor.SelectedText(), "econ");
  }
}

TEST_F(WindowHost, SearchInAnEmptyViewFindsNothing) {
  EXPECT_EQ(viewer.FindText("a", 0, kForwards), kNotFound);
  EXPECT_EQ(viewer.FindText("a", 0, kBackwards), kNotFound);
  EXPECT_EQ(viewer.FindText("a", 12, kBackwards), kNotFound);
}

TEST_F(WindowHost, FlagsReachTheSearch) {
  viewer.Show({"Errors: one Error"});
  EXPECT_EQ(viewer.FindText("ERROR", 0, kForwards), 0);
  viewer.SetSelStart(0);
  EXPECT_EQ(viewer.FindText("ERROR", 0, kSearchMatchCase), kNotFound);
  EXPECT_EQ(viewer.FindText("error", 0, kSearchWholeWords), 12);
  EXPECT_EQ(viewer.FindText("Error", 0, kSearchMatchCase | kSearchWholeWords | 1), 12);
}

TEST_F(WindowHost, AZeroByteEndsThePatternAndItsSelection) {
  viewer.Show({"xabcd"});
  const std::string pattern("abc\0zz", 6);
  EXPECT_EQ(viewer.FindText(pattern, 0, kForwards), 1);
  EXPECT_EQ(viewer.editor.SelectedText(), "abc");
}

TEST_F(WindowHost, MatchesBeyondColumn1024AreSelectedExactlyAndSearchesMoveOnFromThem) {
  const std::string longLine =
      std::string(1100, 'x') + "needle" + std::string(300, 'y') + "NEEDLE" + std::string(10, 'z');
  viewer.Show({"short", longLine});
  const TextOffset first = 7 + 1100;
  const TextOffset second = 7 + 1406;
  EXPECT_EQ(viewer.FindText("needle", 0, kForwards), first);
  EXPECT_EQ(viewer.editor.CaretCol(), 1106);
  EXPECT_EQ(viewer.GetSelStart(), first + 6);
  EXPECT_EQ(viewer.editor.SelectedText(), "needle");
  EXPECT_EQ(viewer.FindText("needle", 0, kForwards), second);
  EXPECT_EQ(viewer.editor.SelectedText(), "NEEDLE");
  EXPECT_GT(viewer.editor.LeftCol() + viewer.editor.VisibleCols(), 1412);  // in view
  EXPECT_EQ(viewer.FindText("needle", 0, kForwards), first);               // wrapped round
  EXPECT_EQ(viewer.FindText("needle", 0, kBackwards), second);
  EXPECT_EQ(viewer.FindText("needle", 0, kBackwards), first);
  EXPECT_EQ(viewer.editor.SelectedText(), "needle");
}

TEST_F(WindowHost, AMatchFarDownIsBroughtIntoView) {
  std::vector<std::string> lines(200, "filler");
  lines[150] = "the target";
  viewer.Show(lines);
  EXPECT_EQ(viewer.FindText("target", 0, kForwards),
            static_cast<TextOffset>(viewer.editor.Lines().LineStart(150)) + 4);
  EXPECT_EQ(viewer.editor.CaretRow(), 150);
  EXPECT_LE(viewer.editor.TopRow(), 150);
  EXPECT_GT(viewer.editor.TopRow() + viewer.editor.VisibleRows(), 150);
}

// --- FindTextPos -------------------------------------------------------------------------------

TEST_F(WindowHost, PositionSearchIgnoresTheCaretNeitherWrapsNorSelects) {
  viewer.Show({"abc abc"});
  viewer.SetSelStart(5);
  EXPECT_EQ(viewer.FindTextPos("abc", 0, kForwards), 0);
  EXPECT_EQ(viewer.FindTextPos("abc", 5, kForwards), kNotFound);
  EXPECT_EQ(viewer.FindTextPos("abc", 0, kBackwards), 4);
  EXPECT_EQ(viewer.GetSelStart(), 5);
  EXPECT_EQ(viewer.GetSelLength(), 0);
}

// --- saving ------------------------------------------------------------------------------------

class SavingWindowHost : public WindowHost {
 protected:
  testing::ScratchFolder folder_;
};

TEST_F(SavingWindowHost, SaveLinesWritesEveryLineWithCarriageReturnAndLineFeed) {
  viewer.Show({"ab", "", "c\xe9", "last"});
  folder_.Write("lines.txt", "old content that is longer than the new one");
  EXPECT_EQ(viewer.SaveLines(folder_.File("lines.txt")), 1);
  EXPECT_EQ(folder_.Read("lines.txt"), "ab\r\n\r\nc\xe9\r\nlast\r\n");
}

TEST_F(SavingWindowHost, SaveLinesOfAnEmptyViewLeavesAnEmptyFile) {
  folder_.Write("lines.txt", "old");
  EXPECT_EQ(viewer.SaveLines(folder_.File("lines.txt")), 1);
  EXPECT_TRUE(std::filesystem::exists(folder_.File("lines.txt")));
  EXPECT_EQ(folder_.Read("lines.txt"), "");
}

TEST_F(SavingWindowHost, SaveHistoryWritesTheHistoryLinesExactly) {
  viewer.Show({"view line"});
  viewer.history = "E error one\r\nW warning\r\n";
  EXPECT_EQ(viewer.SaveHistory(folder_.File("history.txt")), 1);
  EXPECT_EQ(folder_.Read("history.txt"), "E error one\r\nW warning\r\n");
}

TEST_F(SavingWindowHost, SaveHistoryWithoutHistoryTouchesNoFile) {
  EXPECT_EQ(viewer.SaveHistory(folder_.File("absent.txt")), 1);
  EXPECT_FALSE(std::filesystem::exists(folder_.File("absent.txt")));
  folder_.Write("kept.txt", "kept");
  EXPECT_EQ(viewer.SaveHistory(folder_.File("kept.txt")), 1);
  EXPECT_EQ(folder_.Read("kept.txt"), "kept");
}

TEST_F(SavingWindowHost, AFileThatCannotBeWrittenFailsToTheCaller) {
  viewer.Show({"a"});
  viewer.history = "h\r\n";
  const std::string intoMissingDir = folder_.File("missing/dir/out.txt");
  EXPECT_THROW(viewer.SaveLines(intoMissingDir), platform::PlatformError);
  EXPECT_THROW(viewer.SaveHistory(intoMissingDir), platform::PlatformError);
  try {
    viewer.SaveLines(intoMissingDir);
  } catch (const platform::PlatformError& error) {
    EXPECT_EQ(error.path(), intoMissingDir);
  }
}

TEST_F(SavingWindowHost, SavingWaitsForTheViewerLockAndWorksInsideIt) {
  viewer.Show({"a", "b"});
  viewer.history = "h\r\n";
  {
    std::lock_guard<std::recursive_mutex> held(viewer.viewerLock);
    EXPECT_EQ(viewer.SaveLines(folder_.File("inside.txt")), 1);  // the lock is re-entrant
  }
  EXPECT_EQ(folder_.Read("inside.txt"), "a\r\nb\r\n");

  std::atomic<bool> saved{false};
  std::thread saver;
  {
    std::unique_lock<std::recursive_mutex> held(viewer.viewerLock);
    saver = std::thread([&] {
      viewer.SaveHistory(folder_.File("waited.txt"));
      saved = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(saved.load());
    EXPECT_FALSE(std::filesystem::exists(folder_.File("waited.txt")));
  }
  saver.join();
  EXPECT_TRUE(saved.load());
  EXPECT_EQ(folder_.Read("waited.txt"), "h\r\n");
}

}  // namespace
}  // namespace brontel
