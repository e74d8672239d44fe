#include "viewer/CompleteLoad.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "classify/LineClassifier.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/EncodedText.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "ui/TRAHLEditor.h"

namespace brontel {
namespace {

using Lines = std::vector<std::string>;

class CompleteLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (ui::TRAHLEditor* view : {&view, &heldView}) {
      view->SetCellSize(ui::Size{7, 14});
      view->SetBounds(ui::Rect{0, 0, 700, 14 * 10});
    }
  }

  // The indexed load beside the load that holds the whole text, on the same file.
  void LoadBoth(const std::string& text, ViewModel* model = nullptr,
                ViewModel* heldModel = nullptr) {
    state.path = heldState.path = folder.Write("app.log", text);
    separator = load.Load(state, types, view, model);
    heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView, heldModel);
  }
  // Offsets map to the same lines and back, as selection and search use them.
  void ExpectTheSameText() {
    ASSERT_EQ(View(), testing::ViewLines(heldView));
    ASSERT_EQ(view.TextLength(), heldView.TextLength());
    ExpectTheSameBody();
    view.SelectAll();
    heldView.SelectAll();
    EXPECT_EQ(view.SelectedText(), heldView.SelectedText());
  }
  // The lines after the separator (the history of a view extended since holds the open line
  // too, counted once more when it was completed).
  void ExpectTheSameBody() {
    const std::size_t body = testing::BodyStart(view);
    const std::size_t heldBody = testing::BodyStart(heldView);
    ASSERT_EQ(view.LineCount() - body, heldView.LineCount() - heldBody);
    const std::size_t start = view.Lines().LineStart(body);
    const std::size_t heldStart = heldView.Lines().LineStart(heldBody);
    for (std::size_t i = body; i < view.LineCount(); ++i) {
      const std::size_t held = i - body + heldBody;
      ASSERT_EQ(view.Line(i), heldView.Line(held));
      ASSERT_EQ(view.Lines().LineStart(i) - start, heldView.Lines().LineStart(held) - heldStart);
      ASSERT_EQ(view.Lines().LineOf(view.Lines().LineStart(i) + 1) - body,
                heldView.Lines().LineOf(heldView.Lines().LineStart(held) + 1) - heldBody);
    }
    ASSERT_EQ(view.TextLength() - start, heldView.TextLength() - heldStart);
    // Stretches of the text as a search reads them, from inside a line to inside another.
    const std::size_t bodyText = view.TextLength() - start;
    for (const std::size_t from : {std::size_t{0}, std::size_t{1}, std::size_t{7}, bodyText / 3}) {
      for (const std::size_t count : {std::size_t{1}, std::size_t{5}, std::size_t{64}, bodyText}) {
        if (from < bodyText) {
          ASSERT_EQ(view.Lines().TextRange(start + from, count),
                    heldView.Lines().TextRange(heldStart + from, count))
              << from << " " << count;
        }
      }
    }
    // Backwards and in strides too: the index is read from where the last line was.
    for (std::size_t i = view.LineCount(); i-- > body;)
      ASSERT_EQ(view.Line(i), heldView.Line(i - body + heldBody));
    for (std::size_t i = body; i < view.LineCount(); i += 3)
      ASSERT_EQ(view.Lines().LineStart(i) - start,
                heldView.Lines().LineStart(i - body + heldBody) - heldStart);
  }
  void Tick(int times) {
    for (int i = 0; i < times; ++i)
      load.Tick();
  }
  void TickUntilIndexed(int mostTicks = 4000) {
    for (int i = 0; i < mostTicks && load.Indexing(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      load.Tick();
    }
    ASSERT_FALSE(load.Indexing());
  }
  Lines View() const { return testing::ViewLines(view); }

  testing::ScratchFolder folder;
  testing::MemorySettings store;
  headless::HeadlessToolkit toolkit;
  LineClassifier types{store};
  LineClassifier heldTypes{store};
  ui::TRAHLEditor view{"_editor"};
  ui::TRAHLEditor heldView{"held"};
  TailViewerState state;
  TailViewerState heldState;
  CompleteLoad load{toolkit, store};
  std::optional<int> separator;
  std::optional<int> heldSeparator;
};

TEST_F(CompleteLoadTest, TheIndexedViewEqualsTheHeldOneLineForLine) {
  const std::string longLine = "W   " + std::string(300000, 'x') + "\tend";
  const std::vector<std::string> files = {
      "E   first\nplain\nW   second\nU   third\n",
      "E   crlf\r\nplain\r\n\r\nW   crlf two\r\n",
      "lone\rcarriage\r\rreturns\nE   mixed\r\n",
      "control\x01bytes\x0b\x0c\tstay\x08in\ttheir line\n\x01\n",
      "\ttabbed\tline\nE   \terror with a tab\n" + longLine + "\nafter\n",
      "no final line end\nE   last without end",
      "\xEF\xBB\xBF"
      "E   marked\nplain\n",
      "only plain\nlines\n",
      "",
  };
  for (const std::string& text : files) {
    LoadBoth(text);
    ASSERT_EQ(View(), testing::ViewLines(heldView)) << text.substr(0, 40);
    EXPECT_EQ(types.MsgTypeCountsText(), heldTypes.MsgTypeCountsText());
    EXPECT_EQ(separator, heldSeparator);
    EXPECT_EQ(state.history.Count(), heldState.history.Count());
    EXPECT_EQ(state.statusText, heldState.statusText);
    EXPECT_EQ(view.Lines().MaxLineLength(), heldView.Lines().MaxLineLength());
    ExpectTheSameText();
  }
}

// A filter on the indexed view keeps two numbers a shown line, never the text, and shows what
// the held view shows: the lines passed, their context, the gaps; also as the file grows, by a
// little (at once) or by more than is indexed at once (a few stretches a tick).
TEST_F(CompleteLoadTest, AFilteredIndexedViewEqualsTheHeldFilteredOne) {
  std::string text;
  for (int i = 0; i < 40; ++i)
    text +=
        (i % 9 == 4 ? "E   failure " : "I   step ") + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
  std::vector<ViewFilter> filters(4);
  filters[0].expression = "failure";
  filters[1].expression = "step 1";
  filters[1].context = 2;
  filters[2].types = {"error"};
  filters[2].context = 9;
  filters[3].expression = "[02468]$";
  filters[3].hideMatching = true;
  filters[3].context = 1;
  for (const ViewFilter& filter : filters) {
    ViewModel model;
    ViewModel heldModel;
    std::string refused;
    ASSERT_TRUE(model.SetFilter(filter, types, refused)) << refused;
    ASSERT_TRUE(heldModel.SetFilter(filter, heldTypes, refused)) << refused;
    load.SetAtOnceBytes(CompleteLoad::kAtOnceBytes);
    LoadBoth(text + "E   open", &model, &heldModel);
    ExpectTheSameText();
    EXPECT_EQ(model.FilterStatusText(), heldModel.FilterStatusText());
    folder.Append(state.path, " failure 15\nI   step 41\nI   step 42");
    Tick(10);
    heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView, &heldModel);
    ExpectTheSameBody();
    load.SetAtOnceBytes(1);
    folder.Append(state.path, "\nE   failure 43\nI   step 44\n");
    Tick(12);
    EXPECT_FALSE(load.Indexing());
    heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView, &heldModel);
    ExpectTheSameBody();
    EXPECT_EQ(model.FilterStatusText(), heldModel.FilterStatusText());
  }
}

// A changed filter is applied to the lines indexed already, at once or on the worker, and shows
// what a load with that filter shows; the lines appended later go through the new filter.
TEST_F(CompleteLoadTest, AChangedFilterShowsWhatALoadWithItShows) {
  std::string text;
  for (int i = 0; i < 60; ++i)
    text +=
        (i % 7 == 3 ? "E   failure " : "I\tstep ") + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
  ViewModel model;
  ViewModel heldModel;
  LoadBoth(text + "E   open", &model, &heldModel);
  std::vector<ViewFilter> filters(4);
  filters[0].expression = "failure|step 1";
  filters[0].context = 1;
  filters[1].types = {"error"};
  filters[1].expression = "[02468]$";
  filters[1].hideMatching = true;
  filters[2].expression = "open";
  for (const std::uint64_t atOnce : {CompleteLoad::kAtOnceBytes, std::uint64_t{1}}) {
    load.SetAtOnceBytes(atOnce);
    for (const ViewFilter& filter : filters) {  // the last one: no filter
      SCOPED_TRACE(filter.expression + " at once up to " + std::to_string(atOnce));
      std::string refused;
      ASSERT_TRUE(model.SetFilter(filter, types, refused)) << refused;
      ASSERT_TRUE(heldModel.SetFilter(filter, heldTypes, refused)) << refused;
      ASSERT_TRUE(load.Refilter());
      TickUntilIndexed();
      heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView, &heldModel);
      ExpectTheSameText();
      EXPECT_EQ(model.FilterStatusText(), heldModel.FilterStatusText());
    }
  }
  ViewFilter last;
  last.expression = "failure";
  std::string refused;
  ASSERT_TRUE(model.SetFilter(last, types, refused));
  ASSERT_TRUE(heldModel.SetFilter(last, heldTypes, refused));
  ASSERT_TRUE(load.Refilter());
  TickUntilIndexed();
  folder.Append(state.path, " failure\nE   failure 61\nI\tstep 62\n");
  Tick(12);
  heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView, &heldModel);
  ExpectTheSameBody();
}

TEST_F(CompleteLoadTest, ACarriageReturnLineFeedAcrossAScannedBlockEndsItsLineThere) {
  std::string text;
  for (std::size_t length = 60; length < 70; ++length)  // one of them has its CR at byte 63
    text += std::string(length, 'x') + "\r\n";
  LoadBoth(text + "E   last\r\n");
  EXPECT_EQ(View().back(), "E   last");
  EXPECT_EQ(View().size(), 13u);
}

TEST_F(CompleteLoadTest, ZeroBytesNeverHideTheLinesAfterThem) {
  LoadBoth(std::string("E   before\n\0\0\0E   after the run\nplain\n", 37));
  // The run belongs to the line after it, which then no longer begins as an error line.
  EXPECT_EQ(View(), (Lines{"E   before", "|   Error:1, HistoryCount:1", "E   before",
                           "???E   after the run", "plain"}));
}

// UTF-16 and compressed logs are decoded as they are indexed and read back by position: the
// views of their text, a compressed one indexed on the worker and extended by a member
// appended after its sound end.
TEST_F(CompleteLoadTest, EncodedLogsGiveTheViewsOfTheirText) {
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text +=
        (i % 7 == 0 ? "E   failure " : "I   step ") + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
  text += std::string("I   zero\0byte\nW   open", 23);
  const std::u16string units(text.begin(), text.end());
  for (const std::string& bytes :
       {testing::Utf16(units, false), testing::Utf16(units, true), testing::Gzip(text)}) {
    LoadBoth(bytes);
    ExpectTheSameText();
    EXPECT_EQ(types.MsgTypeCountsText(), heldTypes.MsgTypeCountsText());
    EXPECT_EQ(state.statusText, heldState.statusText);
  }
  load.SetAtOnceBytes(1);
  state.path = folder.Write("app.log", testing::Gzip(text + "\n"));
  EXPECT_FALSE(load.Load(state, types, view));
  TickUntilIndexed();
  folder.Append(state.path, testing::Gzip("E   appended\n"));
  Tick(10);
  TickUntilIndexed();
  heldSeparator = LoadCompleteFile(heldState, heldTypes, heldView);
  ExpectTheSameText();
  EXPECT_EQ(view.Line(view.LineCount() - 1), "E   appended");
  EXPECT_EQ(types.MsgTypeCountsText(), heldTypes.MsgTypeCountsText());
  // Another compressed log of the same size in its place is loaded afresh, not taken for it.
  const std::string first = testing::Gzip("E   first of its kind\n");
  const std::string second = testing::Gzip("U   other of its kind\n");
  ASSERT_EQ(first.size(), second.size());
  folder.Write("app.log", first);
  Tick(10);
  TickUntilIndexed();
  folder.Write("app.log", second);
  Tick(10);
  TickUntilIndexed();
  EXPECT_EQ(View(), (Lines{"U   other of its kind", "|   Urgent:1, HistoryCount:1",
                           "U   other of its kind"}));
  EXPECT_NE(state.statusText.find("loaded afresh"), std::string::npos) << state.statusText;
}

// Gigabytes beyond what a 32-bit process can address load whole: BRONTEL_HUGE_LOG_GB of them,
// written for the test (scripts/win32-check runs it in the 32-bit build).
TEST_F(CompleteLoadTest, ALogOfGigabytesLoadsWhole) {
  const char* gigabytes = std::getenv("BRONTEL_HUGE_LOG_GB");
  if (gigabytes == nullptr)
    GTEST_SKIP() << "BRONTEL_HUGE_LOG_GB is not set";
  std::string block;
  std::size_t blockLines = 0;
  for (; block.size() < (std::size_t{8} << 20); ++blockLines)
    block += (blockLines % 1000 == 0 ? "E   failure " : "I   step ") + std::to_string(blockLines) +
             " of a huge log\n";
  state.path = folder.Write("huge.log", "");
  const std::uint64_t blocks = (std::stoull(gigabytes) << 30) / block.size() + 1;
  {
    std::ofstream out(state.path, std::ios::binary);
    for (std::uint64_t i = 0; i < blocks; ++i)
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
    out << "W   the end";
    ASSERT_TRUE(out.good());
  }
  EXPECT_FALSE(load.Load(state, types, view));
  TickUntilIndexed(1 << 30);
  const std::uint64_t errors = blocks * ((blockLines + 999) / 1000);
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:" + std::to_string(errors) + ", Warning:1");
  EXPECT_EQ(view.LineCount() - testing::BodyStart(view), blocks * blockLines + 1);
  EXPECT_EQ(view.Line(view.LineCount() - 1), "W   the end");
  std::filesystem::remove(state.path);
}

TEST_F(CompleteLoadTest, TheHistoryKeepsToItsLimitWhileEveryLineIsCounted) {
  state.history.SetMaxLines(100);
  std::string text;
  for (int i = 0; i < 250; ++i)
    text += "E   failure " + std::to_string(i) + "\n";
  LoadBoth(text);
  EXPECT_EQ(state.history.Count(), 100u);
  EXPECT_EQ(state.history.Line(0), "E   failure 150");
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:250");
  EXPECT_EQ(view.LineCount(), 100u + 1 + 250);
  // Lines appended join those shown, within the same limit.
  std::string more;
  for (int i = 250; i < 280; ++i)
    more += "E   failure " + std::to_string(i) + "\n";
  folder.Append(state.path, more);
  Tick(10);
  ASSERT_EQ(state.history.Count(), 100u);
  EXPECT_EQ(state.history.Line(0), "E   failure 180");
  EXPECT_EQ(state.history.Line(99), "E   failure 279");
  EXPECT_EQ(types.MsgTypeCountsText(), "Error:280");
}

TEST_F(CompleteLoadTest, AppendsExtendTheViewAndACutFileIsLoadedAfresh) {
  LoadBoth("E   one\nplain\nW   open");
  folder.Append(state.path, " line completed\nE   two\n");
  Tick(10);
  EXPECT_EQ(View(), (Lines{"E   one", "W   open", "W   open line completed", "E   two",
                           "|   Error:2, Warning:2, HistoryCount:4", "E   one", "plain",
                           "W   open line completed", "E   two"}));
  folder.Write("app.log", "U   shorter\n");
  Tick(10);
  EXPECT_EQ(View(), (Lines{"U   shorter", "|   Urgent:1, HistoryCount:1", "U   shorter"}));
  EXPECT_NE(state.statusText.find("loaded afresh"), std::string::npos) << state.statusText;
  // Lines the view no longer shows are never taken for current: another view stops the load.
  view.AssignLines(std::vector<std::string>{"other"});
  folder.Append(state.path, "E   unseen\n");
  Tick(10);
  EXPECT_EQ(View(), (Lines{"other"}));
}

}  // namespace
}  // namespace brontel
