#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
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
#include "viewer/CompleteLoad.h"
#include "viewer/TailLoader.h"
#include "viewer/ViewModel.h"

namespace brontel {
namespace {

using Lines = std::vector<std::string>;

std::string Log(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += (i % 97 == 0 ? "E   failure " : "plain line ") + std::to_string(i) + "\n";
  return text;
}

class BackgroundIndexingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetCellSize(ui::Size{7, 14});
    view.SetBounds(ui::Rect{0, 0, 700, 14 * 10});
    load.SetAtOnceBytes(0);  // every file in the background
  }
  // Ticks until the index is complete.
  void Finish() {
    for (int i = 0; i < 20000 && load.Indexing(); ++i) {
      load.Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(load.Indexing());
  }

  testing::ScratchFolder folder;
  testing::MemorySettings store;
  headless::HeadlessToolkit toolkit;
  LineClassifier types{store};
  ui::TRAHLEditor view{"_editor"};
  TailViewerState state;
  CompleteLoad load{toolkit, store};
};

TEST_F(BackgroundIndexingTest, TheEndShowsAtOnceAndTheWholeViewWhenIndexed) {
  const std::string text = Log(300000);
  state.path = folder.Write("app.log", text);
  EXPECT_EQ(load.Load(state, types, view), std::nullopt);
  EXPECT_TRUE(load.Indexing());
  EXPECT_EQ(testing::ViewLines(view).back(), "plain line 299999");
  EXPECT_NE(state.statusText.find(" [indexing "), std::string::npos) << state.statusText;
  Finish();
  // The same view as a load at once, the reader still at the end.
  ui::TRAHLEditor atOnce{"atOnce"};
  TailViewerState atOnceState;
  atOnceState.path = state.path;
  LineClassifier atOnceTypes{store};
  CompleteLoad direct{toolkit, store};
  direct.Load(atOnceState, atOnceTypes, atOnce);
  EXPECT_EQ(testing::ViewLines(view), testing::ViewLines(atOnce));
  EXPECT_EQ(types.MsgTypeCountsText(), atOnceTypes.MsgTypeCountsText());
  EXPECT_EQ(view.CaretRow(), static_cast<int>(view.LineCount()) - 1);
  EXPECT_EQ(state.statusText.find(" [indexing "), std::string::npos);
}

// A compressed log is decoded on a worker in both views: the complete one equals the view of
// its text loaded plain; the tail view says it is decompressing, then shows the tail.
TEST_F(BackgroundIndexingTest, ACompressedLogIsDecodedOnAWorkerInBothViews) {
  const std::string text = Log(300000);
  state.path = folder.Write("app.log.gz", testing::Gzip(text));
  EXPECT_EQ(load.Load(state, types, view), std::nullopt);
  Finish();
  ui::TRAHLEditor plain{"plain"};
  TailViewerState plainState;
  plainState.path = folder.Write("plain.log", text);
  LineClassifier plainTypes{store};
  CompleteLoad direct{toolkit, store};
  direct.Load(plainState, plainTypes, plain);
  EXPECT_EQ(testing::ViewLines(view), testing::ViewLines(plain));

  std::string longer;
  while (longer.size() < (std::size_t{24} << 20))
    longer += text;
  state.path = folder.Write("long.log.gz", testing::Gzip(longer + "E   the end\n"));
  TailLoader loader;
  loader.LoadTail(state, types, view);
  EXPECT_TRUE(testing::ShownTailLines(view, state.history.Count())
                  .back()
                  .starts_with("|   DECOMPRESSING THE FILE: "));
  for (int i = 0; i < 2000 && loader.Unfinished(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    loader.LoadTail(state, types, view);
  }
  EXPECT_EQ(testing::ShownTailLines(view, state.history.Count()).back(), "E   the end");
}

// The worker asks a filter of its own; the end shown meanwhile is filtered as well.
TEST_F(BackgroundIndexingTest, AFilteredViewIsFilteredFromItsFirstScreen) {
  ViewFilter failures;
  failures.expression = "failure";
  failures.context = 1;
  ViewModel model;
  std::string refused;
  ASSERT_TRUE(model.SetFilter(failures, types, refused));
  state.path = folder.Write("app.log", Log(300000));
  load.Load(state, types, view, &model);
  EXPECT_TRUE(load.Indexing());
  const Lines end = testing::ViewLines(view);
  EXPECT_EQ(end.back(), "plain line 299925");  // after the last failure, 299924
  EXPECT_EQ(end.at(end.size() - 4), "|   ...");
  Finish();
  ui::TRAHLEditor atOnce{"atOnce"};
  TailViewerState atOnceState;
  atOnceState.path = state.path;
  LineClassifier atOnceTypes{store};
  ViewModel atOnceModel;
  ASSERT_TRUE(atOnceModel.SetFilter(failures, atOnceTypes, refused));
  LoadCompleteFile(atOnceState, atOnceTypes, atOnce, &atOnceModel);
  // The same body (the held load's history is not kept to the limit).
  const auto body = [](const ui::TRAHLEditor& shown) {
    const Lines lines = testing::ViewLines(shown);
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(testing::BodyStart(shown)),
                 lines.end());
  };
  EXPECT_EQ(body(view), body(atOnce));
  EXPECT_EQ(model.FilterStatusText(), " [filter: 9278 of 300000 lines]");

  // Another filter is applied on the worker; the view is read meanwhile as it was.
  ViewFilter errors;
  errors.types = {"error"};
  ASSERT_TRUE(model.SetFilter(errors, types, refused));
  ASSERT_TRUE(load.Refilter());
  EXPECT_NE(state.statusText.find(" [filtering "), std::string::npos) << state.statusText;
  EXPECT_EQ(body(view).size(), body(atOnce).size());
  Finish();
  ASSERT_TRUE(atOnceModel.SetFilter(errors, atOnceTypes, refused));
  LoadCompleteFile(atOnceState, atOnceTypes, atOnce, &atOnceModel);
  EXPECT_EQ(body(view), body(atOnce));
}

TEST_F(BackgroundIndexingTest, ANewLoadOrTheEndStopsTheIndexingAndAppendsFollowIt) {
  state.path = folder.Write("app.log", Log(400000));
  load.Load(state, types, view);
  // Another file while the first is indexed; then lines appended during its indexing.
  state.path = folder.Write("other.log", Log(200000));
  load.Load(state, types, view);
  folder.Append(state.path, "E   appended\n");
  Finish();
  for (int i = 0; i < 10; ++i)
    load.Tick();
  Finish();
  EXPECT_EQ(testing::ViewLines(view).back(), "E   appended");
  EXPECT_EQ(view.LineCount(), 200000u + 1 + 1 + state.history.Count());
  // Destroyed while indexing: the worker is stopped and joined.
  state.path = folder.Write("third.log", Log(400000));
  CompleteLoad early{toolkit, store};
  early.SetAtOnceBytes(0);
  early.Load(state, types, view);
}

}  // namespace
}  // namespace brontel
