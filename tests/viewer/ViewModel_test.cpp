#include "viewer/ViewModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "classify/LineClassifier.h"
#include "regex/RegExpr.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScratchHome.h"
#include "viewer/OptionTables.h"
#include "viewer/TailLoader.h"

namespace brontel {
namespace {

using Lines = std::vector<std::string>;

const auto* const kScratchHome = ::testing::AddGlobalTestEnvironment(new testing::ScratchHome);

std::string Widened(std::string line) {
  for (std::size_t tab; (tab = line.find('\t')) != std::string::npos;)
    line.replace(tab, 1, "   ");
  return line;
}

// The body a filter should give for `raw` lines, worked out line by line without the model.
Lines ExpectedBody(const Lines& raw, const ViewFilter& filter, LineClassifier& types) {
  RegExpr expression(filter.ignoreCase ? LowerAscii(filter.expression) : filter.expression);
  std::vector<bool> shown(raw.size(), false);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const int type = types.FindMsgType(raw[i]);
    bool passes = filter.types.empty();
    for (const std::string& name : filter.types) {
      passes =
          passes ||
          (type >= 0 && (name == "counted"
                             ? type < kCountedMsgTypes
                             : LowerAscii(name) ==
                                   LowerAscii(types.Types()[static_cast<std::size_t>(type)].name)));
    }
    if (!filter.expression.empty()) {
      int length = 0;
      const std::string subject = filter.ignoreCase ? LowerAscii(raw[i]) : raw[i];
      passes = passes && (expression.Match(subject.c_str(), length) >= 0) != filter.hideMatching;
    }
    for (int d = -filter.context; passes && d <= filter.context; ++d) {
      const auto j = static_cast<std::ptrdiff_t>(i) + d;
      if (j >= 0 && j < static_cast<std::ptrdiff_t>(raw.size()))
        shown[static_cast<std::size_t>(j)] = true;
    }
  }
  Lines body;
  std::ptrdiff_t previous = -1;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (!shown[i])
      continue;
    if (previous >= 0 && previous + 1 != static_cast<std::ptrdiff_t>(i))
      body.push_back(Widened(std::string(kFilterGapLine)));
    body.push_back(Widened(raw[i]));
    previous = static_cast<std::ptrdiff_t>(i);
  }
  return body;
}

// A viewer's loader beside a text view of ten rows.
struct Viewer {
  testing::MemorySettings store;
  LineClassifier types{store};
  ui::TRAHLEditor view{"_editor"};
  TailViewerState state;
  TailLoader loader;

  Viewer() {
    view.SetCellSize(ui::Size{7, 14});
    view.SetBounds(ui::Rect{0, 0, 700, 14 * 10});
    state.history.SetMaxLines(MaxHistoryLinesAt(0));
    state.bufferSize = BufferSizeAt(0);
  }
  void Filter(const ViewFilter& filter) {
    std::string error;
    ASSERT_TRUE(loader.Model().SetFilter(filter, types, error)) << error;
  }
  void Load(const std::string& path) {
    state.path = path;
    loader.LoadTail(state, types, view);
  }
  // A load by a loader that never showed the view.
  void LoadAfresh(const std::string& path, const ViewFilter& filter) {
    TailLoader afresh;
    std::string error;
    ASSERT_TRUE(afresh.Model().SetFilter(filter, types, error)) << error;
    state.path = path;
    afresh.LoadTail(state, types, view);
  }
  Lines Body() const { return testing::ShownTailLines(view, state.history.Count()); }
};

std::string GeneratedLines(unsigned& seed, int count) {
  static const char* const kKinds[] = {"E\t", "W   ", "U\t", "", "", "info "};
  static const char* const kWords[] = {"timeout", "refused", "ok", "Timeout", "done"};
  std::string text;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += std::string(kKinds[(seed >> 8) % 6]) + kWords[(seed >> 16) % 5] + " " +
            std::to_string(seed % 1000) + "\n";
  }
  return text;
}

class ViewModelTest : public ::testing::TestWithParam<ViewFilter> {
 protected:
  testing::ScratchFolder folder;
};

// Through appends, an unfinished line, truncation, rotation and a vanished file, the filtered
// view kept by edits equals one built afresh, and its body is what the filter asks for.
TEST_P(ViewModelTest, KeptFilteredViewEqualsAFreshOneAndTheFiltersBody) {
  const ViewFilter filter = GetParam();
  Viewer kept;
  Viewer fresh;
  kept.Filter(filter);
  unsigned seed = 7;
  std::string content = GeneratedLines(seed, 120);
  const std::string path = folder.Write("log.txt", content);
  const auto check = [&] {
    kept.Load(path);
    fresh.LoadAfresh(path, filter);
    ASSERT_EQ(kept.view.Text(), fresh.view.Text());
    if (!std::filesystem::exists(path))
      return;
    const Lines raw = testing::LiteralTailLines(content, kept.state.bufferSize);
    ASSERT_EQ(kept.Body(), ExpectedBody(raw, filter, kept.types));
    ASSERT_EQ(kept.view.Line(kept.view.LineCount() - 1).substr(0, 4), "|   ");
    ASSERT_EQ(kept.loader.Model().FilterStatusText().rfind(" [filter: ", 0), 0u);
  };
  check();
  for (int tick = 0; tick < 40; ++tick) {
    std::string more = GeneratedLines(seed, tick % 5);
    if (tick == 20)
      more += "E\tunfinished timeout";  // completed by the next tick
    content += more;
    folder.Append(path, more);
    check();
  }
  content = GeneratedLines(seed, 10);  // truncated
  folder.Write("log.txt", content);
  check();
  content = GeneratedLines(seed, 10);  // rotated: another file of about the same size
  folder.Write("log.txt", content);
  check();
  std::filesystem::remove(path);
  check();
}

INSTANTIATE_TEST_SUITE_P(Filters, ViewModelTest,
                         ::testing::Values(ViewFilter{{"counted"}, "", false, false, 0},
                                           ViewFilter{{}, "timeout|refused", false, false, 1},
                                           ViewFilter{{}, "ok|done", true, false, 0},
                                           ViewFilter{
                                               {"error", "Warning"}, "TIMEOUT", false, true, 2},
                                           ViewFilter{{}, "never there", false, false, 9}));

TEST(ViewModel, CompleteLoadFiltersTheBodyAndCountsEveryLine) {
  testing::ScratchFolder folder;
  Viewer viewer;
  const ViewFilter filter{{}, "refused", false, false, 1};
  viewer.Filter(filter);
  unsigned seed = 3;
  const std::string content = GeneratedLines(seed, 300);
  viewer.state.path = folder.Write("full.log", content);
  const std::optional<int> separator =
      LoadCompleteFile(viewer.state, viewer.types, viewer.view, &viewer.loader.Model());
  ASSERT_TRUE(separator);
  const Lines view = testing::ViewLines(viewer.view);
  const Lines body(view.begin() + *separator + 1, view.end());
  Lines raw;
  for (const std::string_view line : SplitLineViews(content))
    raw.emplace_back(line);
  EXPECT_EQ(body, ExpectedBody(raw, filter, viewer.types));
  EXPECT_TRUE(view[static_cast<std::size_t>(*separator)].ends_with(
      ", HistoryCount:" + std::to_string(viewer.state.history.Count())));
  const std::size_t shown = body.size() - static_cast<std::size_t>(std::count(
                                              body.begin(), body.end(), Widened("|\t...")));
  EXPECT_EQ(viewer.loader.Model().FilterStatusText(),
            " [filter: " + std::to_string(shown) + " of 300 lines]");
}

TEST(ViewModel, ABadExpressionOrTypeIsRefusedAndTheFilterInForceStays) {
  Viewer viewer;
  viewer.Filter(ViewFilter{{}, "ok", false, false, 0});
  std::string error;
  EXPECT_FALSE(viewer.loader.Model().SetFilter(ViewFilter{{}, "(open", false, false, 0},
                                               viewer.types, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(viewer.loader.Model().SetFilter(ViewFilter{{"Nonsense"}, "", false, false, 0},
                                               viewer.types, error));
  EXPECT_EQ(error, "unknown message type \"Nonsense\"");
  EXPECT_EQ(viewer.loader.Model().Filter().expression, "ok");
  EXPECT_EQ(SplitTypeNames(" error, ,Warning "), (Lines{"error", "Warning"}));
}

}  // namespace
}  // namespace brontel
