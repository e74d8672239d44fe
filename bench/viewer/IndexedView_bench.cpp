// The complete view of a large log as a user moves through it: every key (a page of lines
// drawn, a caret placed, the next match found) has one frame, 16 ms, once the file is indexed;
// and indexing itself, which runs once per load.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

#include "classify/LineClassifier.h"
#include "platform/ReadOnlyFile.h"
#include "plugin/LineSearch.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "ui/TRAHLEditor.h"
#include "viewer/CompleteLoad.h"

namespace brontel {
namespace {

constexpr std::size_t kLogBytes = std::size_t{256} << 20;
constexpr int kPageRows = 60;

// A 256 MB log of lines about 90 characters long, an error every 50 lines and a mark to search
// for every 4 MB; removed when the program ends. BRONTEL_BENCH_LOG names a log of one's own
// instead (a 10 GB one, say), and BRONTEL_BENCH_FIND what F3 looks for in it.
const std::string& LogPath() {
  static const testing::ScratchFolder folder;
  static const std::string path = [] {
    if (const char* own = std::getenv("BRONTEL_BENCH_LOG"))
      return std::string(own);
    std::string text;
    text.reserve(kLogBytes + 200);
    for (std::size_t i = 0; text.size() < kLogBytes; ++i) {
      text += i % 50 == 0 ? "E   2026-12-10 12:00:00 worker failed: request " : "I   2026-12-10 ";
      text += "12:00:00 request " + std::to_string(i) + " served in 12 ms by node 7\tok";
      if (i % 45000 == 0)
        text += " PerfMark";
      text += '\n';
    }
    return folder.Write("big.log", text);
  }();
  return path;
}

struct IndexedView {
  testing::MemorySettings store;
  headless::HeadlessToolkit toolkit;
  LineClassifier types{store};
  ui::TRAHLEditor view{"_editor"};
  TailViewerState state;
  CompleteLoad load{toolkit, store};

  IndexedView() {
    view.SetCellSize(ui::Size{7, 14});
    view.SetBounds(ui::Rect{0, 0, 1400, 14 * kPageRows});
    state.path = LogPath();
    load.SetAtOnceBytes(std::numeric_limits<std::uint64_t>::max());
    load.Load(state, types, view);
  }
};

IndexedView& View() {
  static IndexedView indexed;
  return indexed;
}

void BM_IndexWholeLog(benchmark::State& state) {
  const std::string& path = LogPath();
  testing::MemorySettings store;
  LineClassifier types{store};
  types.LoadMsgTypes();
  for (auto _ : state) {
    auto copy = std::make_unique<LineClassifier>(store);
    copy->Types() = types.Types();
    FileIndexer indexer(platform::OpenReadOnlyFile(path), std::move(copy), 1000, 0);
    while (indexer.Step()) {
    }
    benchmark::DoNotOptimize(indexer.Index().Count());
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_IndexWholeLog)->Unit(benchmark::kMillisecond)->Iterations(3);

// A page anywhere in the file, drawn line by line as a paint asks for it.
void BM_PageAtRandomPlace(benchmark::State& state) {
  IndexedView& indexed = View();
  std::mt19937 random(3);
  const std::size_t lines = indexed.view.LineCount();
  for (auto _ : state) {
    const std::size_t top = random() % (lines - kPageRows);
    std::size_t bytes = 0;
    for (std::size_t row = top; row < top + kPageRows; ++row)
      bytes += indexed.view.Line(row).size();
    indexed.view.MoveCaret(static_cast<int>(top + 5), 3);
    benchmark::DoNotOptimize(indexed.view.CaretOffset() + bytes);
  }
}
BENCHMARK(BM_PageAtRandomPlace)->Unit(benchmark::kMicrosecond);

// F3 from anywhere: the next mark is at most 4 MB of text away.
void BM_FindNextFromRandomPlace(benchmark::State& state) {
  const char* own = std::getenv("BRONTEL_BENCH_FIND");
  const std::string wanted = own != nullptr ? own : "perfmark";
  IndexedView& indexed = View();
  std::mt19937 random(5);
  const std::size_t length = indexed.view.TextLength();
  for (auto _ : state) {
    const auto start = static_cast<TextOffset>(random() % (length - (8 << 20)));
    benchmark::DoNotOptimize(SearchLines(indexed.view.Lines(), wanted, start, 0));
  }
}
BENCHMARK(BM_FindNextFromRandomPlace)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brontel
