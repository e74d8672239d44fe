#include "viewer/TailLoader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "classify/LineClassifier.h"
#include "diagnostics/Debugtimer.h"
#include "platform/PlatformError.h"
#include "tests/support/EncodedText.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScratchHome.h"
#include "ui/TRAHLEditor.h"
#include "viewer/OptionTables.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const auto* const kScratchHome = ::testing::AddGlobalTestEnvironment(new testing::ScratchHome);

Lines ReadLines(const fs::path& path) {
  std::ifstream file(path);
  Lines lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line);
  return lines;
}

class TailLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetCellSize(ui::Size{7, 14});
    view.SetBounds(ui::Rect{0, 0, 700, 14 * 10});  // ten rows
  }

  void Load(const std::string& path, std::int32_t bufferSize = BufferSizeAt(0)) {
    state.path = path;
    state.bufferSize = bufferSize;
    loader.LoadTail(state, types, view);
  }

  Lines View() const { return testing::ViewLines(view); }
  Lines TailLines() const { return testing::ShownTailLines(view, state.history.Count()); }

  testing::ScratchFolder folder;
  testing::MemorySettings store;
  LineClassifier types{store};
  ui::TRAHLEditor view{"_editor"};
  TailViewerState state;
  TailLoader loader;
};

TEST_F(TailLoaderTest, SmallFileIsShownWholeBetweenHistoryAndFooter) {
  std::string content = "E   first failure\nplain\nW   careful\n";
  while (content.size() < 3000)
    content += "filler line " + std::to_string(content.size()) + "\n";
  content.resize(2999);
  content += "\n";
  Load(folder.Write("small.log", content));

  const Lines view = View();
  ASSERT_GE(view.size(), 6u);
  EXPECT_EQ(view[0], "E   first failure");
  EXPECT_EQ(view[1], "W   careful");
  EXPECT_EQ(view[2], "|   Error:1, Warning:1, History:2");  // the view shows tabs as blanks
  EXPECT_EQ(view[3], "E   first failure");
  const Lines tail = TailLines();
  EXPECT_EQ(tail, testing::LiteralTailLines(content, BufferSizeAt(0)));
  EXPECT_EQ(view.back(), "|   Error:1, Warning:1, Lines:" + std::to_string(tail.size()));

  EXPECT_EQ(state.displayName, "small.log");
  EXPECT_EQ(state.statusText.rfind("small.log  [3000 Bytes] [", 0), 0u) << state.statusText;
  EXPECT_TRUE(state.statusText.ends_with("] [Buffer:5 KB]")) << state.statusText;
  EXPECT_EQ(state.currentInfo.path, state.path);
  EXPECT_EQ(state.currentInfo.Size(), 3000u);
}

TEST_F(TailLoaderTest, BufferTextsForTheLargestSizes) {
  const std::string path = folder.Write("a.log", "x\n");
  Load(path, BufferSizeAt(5));
  EXPECT_TRUE(state.statusText.ends_with("] [Buffer:250 KB]")) << state.statusText;
  Load(path, BufferSizeAt(6));
  EXPECT_TRUE(state.statusText.ends_with("] [Buffer:1024 KB]")) << state.statusText;
}

TEST_F(TailLoaderTest, ReadsTheLastBufferOfALargerFile) {
  std::string content;
  for (int i = 0; content.size() < 100000; ++i)
    content += "record " + std::to_string(i * 7919) + " of the nightly batch run\n";
  content.resize(99999);
  content += "\n";
  Load(folder.Write("big.log", content), BufferSizeAt(2));
  const std::string expected = content.substr(100000 - 20480);
  const Lines tail = TailLines();
  ASSERT_FALSE(tail.empty());
  EXPECT_EQ(tail.front(), expected.substr(0, expected.find('\n')));  // a line's end part
  EXPECT_NE(content[79520 - 1], '\n');                               // the seek lands inside a line
  EXPECT_EQ(tail, testing::LiteralLines(expected, BufferSizeAt(2)));
}

TEST_F(TailLoaderTest, LongLineArrivesInPiecesOfBufferLessOne) {
  // The last 10240 bytes: 10239 bytes of the line, then its line feed alone.
  Load(folder.Write("long.log", "E   " + std::string(30000, 'q') + "\n"), BufferSizeAt(1));
  EXPECT_EQ(TailLines(), (Lines{std::string(10239, 'q'), ""}));
  Load(folder.Write("long.log", "W   " + std::string(7000, 'q') + "\n"), BufferSizeAt(1));
  EXPECT_EQ(TailLines(), (Lines{"W   " + std::string(7000, 'q')}));
  Load(folder.Write("long.log", "W   " + std::string(5115, 'q') + "\n"), BufferSizeAt(0));
  EXPECT_EQ(TailLines(), (Lines{"W   " + std::string(5115, 'q'), ""}));
}

TEST_F(TailLoaderTest, CarriageReturnsAreDroppedAndTheLastLineNeedsNoLineFeed) {
  Load(folder.Write("crlf.log", "one\r\ntw\ro\r\nlast"));
  EXPECT_EQ(TailLines(), (Lines{"one", "two", "last"}));
}

TEST_F(TailLoaderTest, EmptyOrMissingFileShowsTheNotFoundLine) {
  Load(folder.Write("empty.log", ""));
  EXPECT_EQ(View(),
            (Lines{"|   , History:0", "|   FILE IS EMPTY OR FILE NOT FOUND!", "|   , Lines:1"}));
  const std::string status = state.statusText;
  EXPECT_FALSE(status.empty());

  fs::remove(state.path);
  Load(state.path);
  EXPECT_EQ(View().size(), 3u);
  EXPECT_EQ(View()[1], "|   FILE IS EMPTY OR FILE NOT FOUND!");
  EXPECT_EQ(state.statusText, status);  // the last snapshot stays

  TailViewerState fresh;
  fresh.path = folder.File("never.log");
  loader.LoadTail(fresh, types, view);
  EXPECT_EQ(View()[1], "|   FILE IS EMPTY OR FILE NOT FOUND!");
  EXPECT_EQ(fresh.statusText, "");
  EXPECT_EQ(types.MsgTypeCountsText(), "");
}

TEST_F(TailLoaderTest, ReloadsCountEachLineOfTheFileOnce) {
  const std::string path = folder.Write("app.log", "E   one\nE   two\ninfo\nE   three\n");
  for (int i = 0; i < 10; ++i)
    Load(path);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:3");
  EXPECT_EQ(state.history.Count(), 3u);

  folder.Append(path, "W   four\nE   one\n");
  Load(path);
  Load(path);
  // The repeated error is counted (it is a new line of the file) but kept only once.
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:4, Warning:1");
  EXPECT_EQ(state.history.Count(), 4u);
  EXPECT_EQ(View().back(), "|   Error:4, Warning:1, Lines:6");
}

TEST_F(TailLoaderTest, LinesThatLeftTheTailAreNotCountedWhenTheyComeBack) {
  // Lines scroll out of a small buffer; shrinking the buffer later must not count them again.
  std::string content;
  for (int i = 0; i < 300; ++i)
    content += (i % 3 == 0 ? "E   failure " : "info ") + std::to_string(i) +
               " with enough text to need more than one buffer\n";
  const std::string path = folder.Write("scroll.log", content);
  Load(path, BufferSizeAt(0));
  const std::string counts = types.MsgTypeCountsText();
  Load(path, BufferSizeAt(1));  // reads further back: the older lines are new
  Load(path, BufferSizeAt(0));
  Load(path, BufferSizeAt(1));
  EXPECT_NE(types.MsgTypeCountsText(), counts);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:" + std::to_string(state.history.Count()));
}

TEST_F(TailLoaderTest, UnfinishedLastLineIsCountedOnceUntilItGrows) {
  const std::string path = folder.Write("part.log", "E   done\nE   half");
  Load(path);
  Load(path);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:2");
  folder.Append(path, " and more\n");
  Load(path);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:3");
  EXPECT_EQ(TailLines(), (Lines{"E   done", "E   half and more"}));
  // Present in the history as a part of the completed line? No: the shorter one came first.
  EXPECT_EQ(state.history.Count(), 3u);
}

TEST_F(TailLoaderTest, TruncationStartsCountingAgainAndKeepsTheHistory) {
  const std::string path = folder.Write("rot.log", "E   old one\nE   old two\nfiller filler\n");
  Load(path);
  folder.Write("rot.log", "E   new\n");
  Load(path);
  EXPECT_EQ(TailLines(), Lines{"E   new"});
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:3");
  EXPECT_EQ(View()[0], "E   old one");
  EXPECT_EQ(state.history.Count(), 3u);
}

TEST_F(TailLoaderTest, ReplacedFileOfTheSameSizeIsCountedAgain) {
  const std::string path = folder.Write("swap.log", "E   alpha\nW   beta\n");
  Load(path);
  folder.Write("swap.log", "W   gamma\nE   delt\n");
  Load(path);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:2, Warning:2");
  Load(path);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:2, Warning:2");
}

TEST_F(TailLoaderTest, AnotherPathIsCountedAfresh) {
  const std::string one = folder.Write("app1.log", "E   same\n");
  const std::string two = folder.Write("app2.log", "E   same\n");
  Load(one);
  Load(two);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:2");
  EXPECT_EQ(state.displayName, "app2.log");
  EXPECT_EQ(state.history.Count(), 1u);
}

TEST_F(TailLoaderTest, AutoFollowShowsTheEndOtherwiseAReloadKeepsTheReadersPlace) {
  std::string content;
  for (int i = 0; i < 50; ++i)
    content += "line " + std::to_string(i) + " of the log\n";
  const std::string path = folder.Write("follow.log", content);
  Load(path);
  EXPECT_EQ(view.TopRow(), 0);
  view.MoveCaret(25, 4);
  view.SetSelLength(7);  // " 24 of "
  view.ScrollTo(3, 20);
  folder.Append(path, "line 50 of the log\n");
  Load(path);
  EXPECT_EQ(view.RowCount(), 53);
  EXPECT_EQ(view.TopRow(), 20);
  EXPECT_EQ(view.LeftCol(), 3);
  EXPECT_EQ(view.CaretRow(), 25);
  EXPECT_EQ(view.CaretCol(), 11);
  EXPECT_EQ(view.SelectedText(), " 24 of ");
  // A shorter file: each part limited to the new view.
  folder.Write("follow.log", "only\n");
  Load(path);
  EXPECT_EQ(view.TopRow(), 2);
  EXPECT_EQ(view.CaretRow(), 2);
  EXPECT_EQ(view.SelectedText(), view.Line(2).substr(4, 7));
  state.autoFollow = true;
  folder.Write("follow.log", content);
  Load(path);
  EXPECT_EQ(view.RowCount(), 52);
  EXPECT_EQ(view.TopRow(), 52 - view.VisibleRows());
  EXPECT_EQ(view.CaretRow(), 51);
}

TEST_F(TailLoaderTest, TheReadersPlaceStaysOnItsLinesWhenLinesComeOrGoAboveIt) {
  std::string content;
  for (int i = 0; i < 200; ++i)
    content += "line " + std::to_string(i) + " of the log\n";
  const std::string path = folder.Write("place.log", content);
  Load(path, BufferSizeAt(0));
  view.ScrollTo(0, 40);
  view.MoveCaret(45, 2);
  const std::string top(view.Line(40));
  const std::string caret(view.Line(45));
  // A new error line joins the history above; old lines leave the top of the tail.
  folder.Append(path, "E   a failure\n" + content.substr(0, 1000));
  Load(path, BufferSizeAt(0));
  EXPECT_EQ(view.Line(static_cast<std::size_t>(view.TopRow())), top);
  EXPECT_EQ(view.Line(static_cast<std::size_t>(view.CaretRow())), caret);
  EXPECT_EQ(view.CaretCol(), 2);
}

TEST_F(TailLoaderTest, HugeFileShowsItsTrueSizeAndTrueEnd) {
  const std::string path = folder.Write("huge.log", "");
  const std::uint64_t size = (std::uint64_t{5} << 30) + 100;  // low half alone would be 1 GB
  fs::resize_file(path, size - 13);
  folder.Append(path, "\nE   the end\n");
  ASSERT_EQ(fs::file_size(path), size);
  Load(path);
  EXPECT_EQ(TailLines().back(), "E   the end");
  EXPECT_NE(state.statusText.find("  [5.00 GB] ["), std::string::npos) << state.statusText;
}

TEST_F(TailLoaderTest, EachLoadIsTimed) {
  const fs::path log = folder.Path() / "procedures.log";
  GetFileManager().SetPath(log.string());
  Load(folder.Write("t.log", "x\n"));
  GetFileManager().SetPath("");
  const Lines lines = ReadLines(log);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[1].ends_with(" LoadTail")) << lines[1];
  EXPECT_NE(lines[1].find("\t> "), std::string::npos);
  EXPECT_NE(lines[2].find("\t< "), std::string::npos);
  EXPECT_NE(lines[2].find(" LoadTail\t ["), std::string::npos);
}

TEST_F(TailLoaderTest, TheHistoryBlockIsKeptOnlyWhileBothItAndTheViewAreUnchanged) {
  const std::string path = folder.Write("kept.log", "E   one\nplain\n");
  Load(path);
  folder.Append(path, "more\n");
  Load(path);  // no new history line: the block stays, the rest is rebuilt
  EXPECT_EQ(View(), (Lines{"E   one", "|   Error:1, History:1", "E   one", "plain", "more",
                           "|   Error:1, Lines:3"}));
  view.AssignLines(std::vector<std::string>{"shown by someone else"});
  Load(path);
  EXPECT_EQ(View().front(), "E   one");
  EXPECT_EQ(View().size(), 6u);
  folder.Append(path, "E   two\n");
  Load(path);
  EXPECT_EQ(View(), (Lines{"E   one", "E   two", "|   Error:2, History:2", "E   one", "plain",
                           "more", "E   two", "|   Error:2, Lines:4"}));
}

// A reload changes the view it built before only where it differs; the view must equal one
// built afresh (by a loader that never showed it) after every reload, whatever happened to the
// log and the history in between.
TEST_F(TailLoaderTest, KeptViewEqualsAFreshlyBuiltOneAfterEveryReload) {
  testing::MemorySettings freshStore;
  LineClassifier freshTypes{freshStore};
  ui::TRAHLEditor freshView{"_editor"};
  freshView.SetCellSize(ui::Size{7, 14});
  freshView.SetBounds(ui::Rect{0, 0, 700, 14 * 10});
  TailViewerState freshState;
  state.history.SetMaxLines(MaxHistoryLinesAt(0));
  freshState.history.SetMaxLines(MaxHistoryLinesAt(0));
  const auto reload = [&](const std::string& path) {
    Load(path);
    freshState.path = path;
    freshState.bufferSize = state.bufferSize;
    freshState.autoFollow = state.autoFollow;
    TailLoader().LoadTail(freshState, freshTypes, freshView);
    ASSERT_EQ(view.Text(), freshView.Text());
    ASSERT_EQ(view.LineCount(), freshView.LineCount());
    ASSERT_EQ(view.Lines().MaxLineLength(), freshView.Lines().MaxLineLength());
    ASSERT_EQ(view.Lines().LineOf(view.TextLength() / 2),
              freshView.Lines().LineOf(freshView.TextLength() / 2));
    ASSERT_EQ(state.statusText, freshState.statusText);
    if (!state.autoFollow)
      return;  // the kept view's place moved with its lines, a fresh one's has none to follow
    ASSERT_EQ(view.SelectedText(), freshView.SelectedText());
    ASSERT_EQ(view.TopRow(), freshView.TopRow());
    ASSERT_EQ(view.CaretRow(), freshView.CaretRow());
  };
  std::string content;
  for (int i = 0; i < 80; ++i)
    content += (i % 4 == 0 ? "W\tearly " : "start\t") + std::to_string(i) + "\n";
  const std::string path = folder.Write("kept.log", content);
  reload(path);
  view.MoveCaret(30, 2);
  freshView.MoveCaret(30, 2);
  view.SetSelLength(9);
  freshView.SetSelLength(9);
  for (int tick = 0; tick < 260; ++tick) {
    std::string lines = "plain " + std::to_string(tick) + "\n";
    if (tick % 2 == 1)
      lines += "E   failure " + std::to_string(tick) + "\n";  // the history fills, then drops
    if (tick % 37 == 0)
      lines += "E   " + std::string(static_cast<std::size_t>(200 + tick), 'x') + "\n";
    if (tick == 120) {
      lines += "E   unfinished";  // completed by the next tick's line
      state.autoFollow = true;
    }
    folder.Append(path, lines);
    reload(path);
  }
  EXPECT_EQ(state.history.Count(), static_cast<std::size_t>(MaxHistoryLinesAt(0)) + 1);
  folder.Write("kept.log", "E   rotated\nplain\n");  // truncated: counted afresh
  reload(path);
  folder.Write("kept.log", "W   rotated\nfresh\n");  // replaced by a file of the same size
  reload(path);
  fs::remove(path);
  reload(path);
  folder.Write("kept.log", content);
  reload(path);
  // A complete load rebuilds the history and the view; the next reloads follow on from it.
  LoadCompleteFile(state, types, view);
  LoadCompleteFile(freshState, freshTypes, freshView);
  reload(path);
  for (int tick = 0; tick < 3; ++tick) {
    folder.Append(path, "E   after the complete load " + std::to_string(tick) + "\n");
    reload(path);
  }
  state.history.Clear();
  freshState.history.Clear();
  folder.Append(path, "E   into an empty history\n");
  reload(path);
  EXPECT_EQ(view.Line(0), "E   into an empty history");
}

TEST_F(TailLoaderTest, Utf16LogsAreDecodedCountedAndNamedInTheStatus) {
  for (const bool bigEndian : {false, true}) {
    state = TailViewerState{};
    types.ResetMsgTypeCounts();
    const std::string path =
        folder.Write("wide.log", testing::Utf16(u"E   broken\r\nplain\r\nW   odd\r\n", bigEndian));
    Load(path);
    EXPECT_EQ(TailLines(), (Lines{"E   broken", "plain", "W   odd"}));
    EXPECT_EQ(types.MsgTypeCountsText(), "Error:1, Warning:1");
    EXPECT_TRUE(state.statusText.ends_with(bigEndian ? "] [UTF-16 BE]" : "] [UTF-16 LE]"))
        << state.statusText;
    // A reload after an append counts only the new line; the complete load decodes as well.
    folder.Append(path, testing::Utf16(u"E   again\r\n", bigEndian, false));
    Load(path);
    EXPECT_EQ(types.MsgTypeCountsText(), "Error:2, Warning:1");
    LoadCompleteFile(state, types, view);
    EXPECT_EQ(View().back(), "E   again");
    EXPECT_TRUE(state.statusText.ends_with(bigEndian ? "] [UTF-16 BE]" : "] [UTF-16 LE]"));
    EXPECT_EQ(state.history.Count(), 3u);
  }
}

TEST_F(TailLoaderTest, AUtf8MarkIsNotShown) {
  Load(folder.Write("marked.log",
                    "\xEF\xBB\xBF"
                    "E   first\nsecond\n"));
  EXPECT_EQ(TailLines(), (Lines{"E   first", "second"}));
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:1");
  EXPECT_TRUE(state.statusText.ends_with("] [UTF-8]")) << state.statusText;
}

TEST_F(TailLoaderTest, GzipLogsShowTheirTailAndSayWhenTheRestIsUnreadable) {
  std::string text;
  for (int i = 0; i < 2000; ++i)
    text += (i % 100 == 0 ? "E   failure " : "line ") + std::to_string(i) + "\n";
  const std::string packed = testing::Gzip(text);
  Load(folder.Write("app.log.2.gz", packed));
  EXPECT_EQ(TailLines().back(), "line 1999");
  EXPECT_TRUE(state.statusText.ends_with("] [gzip]")) << state.statusText;
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:5");  // 1500 .. 1900 lie in the last 5 KB
  LoadCompleteFile(state, types, view);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:20");
  EXPECT_EQ(View().back(), "line 1999");

  Load(folder.Write("cut.log.gz", packed.substr(0, packed.size() / 2)));
  const Lines tail = TailLines();
  ASSERT_GE(tail.size(), 2u);
  EXPECT_EQ(tail.back(), "|   THE REST OF THE FILE COULD NOT BE DECOMPRESSED!");
  EXPECT_TRUE(text.find(tail[tail.size() - 2]) != std::string::npos);
  LoadCompleteFile(state, types, view);
  EXPECT_EQ(View().back(), "|   THE REST OF THE FILE COULD NOT BE DECOMPRESSED!");

  // Written on: the stream goes on where the file ended, then a member follows its sound end.
  const std::string path = folder.Write("cut.log.gz", packed);
  Load(path);
  EXPECT_EQ(TailLines().back(), "line 1999");
  folder.Append(path, testing::Gzip("E   appended\n"));
  Load(path);
  EXPECT_EQ(TailLines().back(), "E   appended");
}

TEST(SplitLineViews, SplitsAtEveryKindOfLineEndAndPassesNulBytes) {
  using Views = std::vector<std::string_view>;
  EXPECT_EQ(SplitLineViews("a\r\nb\nc\rd"), (Views{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLineViews("a\n\nb\r\n"), (Views{"a", "", "b"}));
  EXPECT_EQ(SplitLineViews("\r\r\n"), (Views{"", ""}));
  EXPECT_EQ(SplitLineViews(std::string_view("ab\0cd\nef", 8)),
            (Views{std::string_view("ab\0cd", 5), "ef"}));
  EXPECT_TRUE(SplitLineViews("").empty());
}

// The scan remembers where the next CR is; line ends of both kinds far apart and close together
// must still split exactly as a scan for either byte would.
TEST(SplitLineViews, MixedLineEndsSplitLikeAScanForEitherByte) {
  std::string text;
  std::vector<std::string> expected;
  const char* const ends[] = {"\n", "\r\n", "\r", "\n\r", "\n\n", "\r\r\n"};
  for (int i = 0; i < 60; ++i) {
    const std::string line(static_cast<std::size_t>(1 + i * 13 % 50), 'x');
    text += line + ends[i % 6];
    expected.push_back(line);
    if (i % 6 >= 3)
      expected.emplace_back();  // the second line end closes an empty line
  }
  text += "last";
  expected.emplace_back("last");
  const std::vector<std::string_view> lines = SplitLineViews(text);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), expected);
  EXPECT_EQ(SplitLineViews("\rx\ny\r"), (std::vector<std::string_view>{"", "x", "y"}));
}

TEST_F(TailLoaderTest, CompleteLoadShowsHistorySeparatorAndEveryLine) {
  const std::string path =
      folder.Write("full.log", "E   a\r\ninfo\nE   b\rE   a\nE   c\nplain\nE   d\n");
  state.history.Append("E   stale");
  Load(path);  // counts are what the complete load replaces
  state.path = path;
  state.statusText.clear();
  EXPECT_EQ(LoadCompleteFile(state, types, view), 5);
  EXPECT_EQ(state.statusText.rfind("full.log  [42 Bytes] [", 0), 0u) << state.statusText;
  EXPECT_TRUE(state.statusText.ends_with("] [Buffer:5 KB]")) << state.statusText;
  EXPECT_EQ(View(),
            (Lines{"E   a", "E   b", "E   a", "E   c", "E   d", "|   Error:5, HistoryCount:5",
                   "E   a", "info", "E   b", "E   a", "E   c", "plain", "E   d"}));
  // The tail load after it does not count the same lines once more.
  Load(path);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:5");
  EXPECT_EQ(state.history.Count(), 5u);
}

TEST_F(TailLoaderTest, CompleteLoadWithoutCountedLinesShowsJustTheFile) {
  state.path = folder.Write("calm.log", "one\ntwo\n|\tsummary\n");
  EXPECT_EQ(LoadCompleteFile(state, types, view), std::nullopt);
  EXPECT_EQ(View(), (Lines{"one", "two", "|   summary"}));
}

// A power loss leaves zeros where a write never came; what was written after the restart must
// be shown and counted in both loads.
TEST_F(TailLoaderTest, ARunOfNulBytesHidesNothingAfterIt) {
  const std::string run(4000, '\0');
  state.path = folder.Write("restart.log",
                            "E   before\n" + run + std::string("\nE   after\nplain\0end\n", 21));
  LoadCompleteFile(state, types, view);
  EXPECT_EQ(View(), (Lines{"E   before", "E   after", "|   Error:2, HistoryCount:2", "E   before",
                           std::string(4000, '?'), "E   after", "plain?end"}));
  Load(state.path);
  EXPECT_EQ(TailLines().back(), "plain?end");
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:2");
}

TEST_F(TailLoaderTest, FailedCompleteLoadLeavesEmptyHistoryAndTheOldView) {
  Load(folder.Write("gone.log", "E   here\n"));
  const Lines before = View();
  fs::remove(state.path);
  EXPECT_THROW(LoadCompleteFile(state, types, view), platform::PlatformError);
  EXPECT_TRUE(state.history.Empty());
  EXPECT_EQ(types.MsgTypeCountsText(), "");
  EXPECT_EQ(View(), before);
}

}  // namespace
}  // namespace brontel
