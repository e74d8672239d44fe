// A tail load against a large line history. The duplicate test of the history is the part that
// grows with the history, so it is compared with the method that joins the whole history into
// one text for every counted line. The tail is 1 MB of about 10 000 lines, 30 % of them
// error lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "classify/LineClassifier.h"
#include "tests/support/LiteralTail.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "ui/TRAHLEditor.h"
#include "viewer/LineHistory.h"
#include "viewer/TailLoader.h"
#include "viewer/TailReader.h"
#include "viewer/TailText.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kTailBytes = 1048576;

std::string ErrorLine(int i) {
  return "E   2026-12-08 06:00:00.123 [worker-" + std::to_string(i % 16) + "] request " +
         std::to_string(i) + " failed in the downstream service, code " + std::to_string(i % 977);
}

std::string InfoLine(int i) {
  return "I   2026-12-08 06:00:00.456 [worker-" + std::to_string(i % 16) + "] request " +
         std::to_string(i) + " handled in " + std::to_string(i % 997) +
         " ms by the downstream service";
}

// The log: 1 MB of lines, every tenth to third of them an error (30 %). Error numbers start at
// 10 000 000 so that history lines made from ErrorLine(0 ..) are other lines.
struct TailFile {
  TailFile() {
    std::ofstream out(path, std::ios::binary);
    std::size_t size = 0;
    for (int i = 0; size < static_cast<std::size_t>(kTailBytes); ++i) {
      const std::string line = i % 10 < 3 ? ErrorLine(10000000 + i) : InfoLine(i);
      out << line << '\n';
      size += line.size() + 1;
      if (i % 10 < 3)
        errorLines.push_back(line);
    }
  }
  testing::ScratchFolder folder;
  std::string path = folder.File("tail.log");
  std::vector<std::string> errorLines;
};

const TailFile& Tail() {
  static const TailFile file;
  return file;
}

// The history lines of a viewer that has already read the tail once: other errors first, the
// tail's errors last (those of them that fit).
std::vector<std::string> HistoryLines(std::size_t count) {
  const std::vector<std::string>& tailErrors = Tail().errorLines;
  const std::size_t fromTail = std::min(count, tailErrors.size());
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t i = 0; i + fromTail < count; ++i)
    lines.push_back(ErrorLine(static_cast<int>(i)));
  lines.insert(lines.end(), tailErrors.end() - static_cast<std::ptrdiff_t>(fromTail),
               tailErrors.end());
  return lines;
}

struct Viewer {
  testing::MemorySettings store;
  LineClassifier types{store};
  ui::TRAHLEditor view{"_editor"};
  TailViewerState state;
  TailLoader loader;

  explicit Viewer(std::size_t historyLines) {
    state.path = Tail().path;
    state.bufferSize = kTailBytes;
    state.history.SetMaxLines(static_cast<std::int32_t>(historyLines));
    for (const std::string& line : HistoryLines(historyLines))
      state.history.Append(line);
  }
};

// The reload of a tail whose lines the history holds already (as after the log was replaced by
// a copy of itself): every error line goes through the duplicate test.
void BM_LoadTailDuplicateTest(benchmark::State& run) {
  Viewer viewer(static_cast<std::size_t>(run.range(0)));
  for (auto _ : run) {
    viewer.state.counted.Forget();
    viewer.loader.LoadTail(viewer.state, viewer.types, viewer.view);
  }
  run.counters["history"] = static_cast<double>(viewer.state.history.Count());
}
BENCHMARK(BM_LoadTailDuplicateTest)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// The ordinary reload of an unchanged log: its lines were counted by the load before.
void BM_LoadTailReload(benchmark::State& run) {
  Viewer viewer(static_cast<std::size_t>(run.range(0)));
  viewer.loader.LoadTail(viewer.state, viewer.types, viewer.view);
  for (auto _ : run)
    viewer.loader.LoadTail(viewer.state, viewer.types, viewer.view);
}
BENCHMARK(BM_LoadTailReload)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same tail load with the history test that joins the history for every counted line.
using testing::LiteralHistory;

void LiteralLoadTail(Viewer& viewer, LiteralHistory& history, TailReader& reader) {
  std::vector<std::string> lines;
  reader.Read(viewer.state.path, fs::file_size(viewer.state.path), viewer.state.bufferSize,
              [&](const TailReader::Line& line) {
                if (viewer.types.CountLine(line.text))
                  history.AddToHistory(std::string(line.text));
                lines.emplace_back(line.text);
              });
  const std::string counts = viewer.types.MsgTypeCountsText();
  std::vector<std::string> all = history.lines;
  all.push_back(HistorySeparatorLine(counts, history.lines.size()));
  all.insert(all.end(), lines.begin(), lines.end());
  viewer.view.AssignLines(all);
  viewer.view.AddLine(TailFooterLine(counts, lines.size()));
}

void BM_LoadTailLiteralJoin(benchmark::State& run) {
  Viewer viewer(0);
  LiteralHistory history;
  history.lines = HistoryLines(static_cast<std::size_t>(run.range(0)));
  history.maxLines = static_cast<std::int32_t>(run.range(0));
  TailReader reader;
  for (auto _ : run)
    LiteralLoadTail(viewer, history, reader);
}
BENCHMARK(BM_LoadTailLiteralJoin)
    ->Arg(1000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One duplicate test of the literal method at a million lines (a whole load would take hours):
// one join and one search.
void BM_LiteralJoinOneLine(benchmark::State& run) {
  LiteralHistory history;
  history.lines = HistoryLines(static_cast<std::size_t>(run.range(0)));
  history.maxLines = static_cast<std::int32_t>(run.range(0)) + 10;
  for (auto _ : run) {
    benchmark::DoNotOptimize(history.AddToHistory(history.lines.back()));
  }
}
BENCHMARK(BM_LiteralJoinOneLine)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The test for a line that is not in the history (a new error): no exact line matches, so the
// history's text is searched unless the line is longer than every history line.
void BM_ContainsNewLine(benchmark::State& run) {
  LineHistory history;
  history.SetMaxLines(static_cast<std::int32_t>(run.range(0)));
  for (const std::string& line : HistoryLines(static_cast<std::size_t>(run.range(0))))
    history.Append(line);
  const std::string shortNew = "E   request 99999999 failed";
  const std::string longNew = ErrorLine(99999999) + " after several retries";
  for (auto _ : run) {
    benchmark::DoNotOptimize(history.Contains(run.range(1) == 0 ? shortNew : longNew));
  }
}
BENCHMARK(BM_ContainsNewLine)
    ->ArgsProduct({{1000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brontel
