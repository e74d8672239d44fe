// The filter and the expression search of a view, each beside its reference in the same run:
// - a filter applied to the complete view of a log of 1 000 000 lines, beside the classifying of
//   those lines alone (the complete load, which a changed filter runs again, reads and
//   classifies them too);
// - a reload tick with a filter on, a full history and a writer appending, as the unfiltered
//   tick is measured;
// - finding an expression through the view of a log, beside grep -c -E on the same file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "classify/BufferClassifier.h"
#include "classify/LineClassifier.h"
#include "platform/WholeFile.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "ui/FileLines.h"
#include "viewer/CompleteLoad.h"
#include "viewer/TForm1.h"
#include "viewer/TailLoader.h"
#include "viewer/ViewFinder.h"

namespace brontel {
namespace {

std::string LogLine(std::uint64_t n) {
  char line[128];
  if (n % 10 == 0)
    std::snprintf(line, sizeof line, "E\t%08llu request failed with status 503 on node %llu\n",
                  static_cast<unsigned long long>(n), static_cast<unsigned long long>(n % 97));
  else if (n % 37 == 0)
    std::snprintf(line, sizeof line, "W\t%08llu upstream timeout, retrying node %llu\n",
                  static_cast<unsigned long long>(n), static_cast<unsigned long long>(n % 97));
  else
    std::snprintf(line, sizeof line,
                  "I\t%08llu handled request in %llu ms for client 10.0.0.%llu\n",
                  static_cast<unsigned long long>(n), static_cast<unsigned long long>(n % 300),
                  static_cast<unsigned long long>(n % 255));
  return line;
}

struct LogFile {
  explicit LogFile(std::uint64_t lines) {
    std::ofstream out(path, std::ios::binary);
    for (std::uint64_t n = 0; n < lines; ++n)
      out << LogLine(n);
  }
  testing::ScratchFolder folder;
  std::string path = folder.File("app.log");
};

const LogFile& MillionLines() {
  static const LogFile file(1000000);
  return file;
}

struct CompleteViewer {
  testing::MemorySettings store;
  LineClassifier types{store};
  ui::TRAHLEditor view{"_editor"};
  TailViewerState state;
  ViewModel model;
};

// Reference: classifying every line of the file's text.
void BM_ClassifyMillionLines(benchmark::State& run) {
  testing::MemorySettings store;
  LineClassifier types(store);
  const std::string text = platform::ReadWholeFile(MillionLines().path);
  for (auto _ : run) {
    BufferClassifier classifier(types, text);
    std::size_t counted = 0;
    ui::ScanFileLines(
        text, [&](std::string_view line) { counted += classifier.FindMsgType(line) >= 0 ? 1 : 0; });
    benchmark::DoNotOptimize(counted);
  }
}
BENCHMARK(BM_ClassifyMillionLines)->Unit(benchmark::kMillisecond);

// The viewer on the million lines with filter `which`: 0 none, 1 counted types, 2 an expression.
void FilterTheMillionLines(CompleteViewer& viewer, std::int64_t which) {
  viewer.state.path = MillionLines().path;
  ViewFilter filter;
  if (which == 1)
    filter.types = {"counted"};
  if (which == 2)
    filter.expression = "timeout|status 50[0-9]";
  std::string error;
  viewer.model.SetFilter(filter, viewer.types, error);
}

// A complete load of the million lines with a filter: 0 none, 1 counted types, 2 an expression.
void BM_CompleteLoadFiltered(benchmark::State& run) {
  CompleteViewer viewer;
  FilterTheMillionLines(viewer, run.range(0));
  for (auto _ : run)
    LoadCompleteFile(viewer.state, viewer.types, viewer.view, &viewer.model);
  run.counters["shown_lines"] = static_cast<double>(viewer.view.LineCount());
}
BENCHMARK(BM_CompleteLoadFiltered)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same on the indexed load a viewer runs (the lines indexed at once, not in the background):
// 0 none, 1 counted types, 2 an expression.
void BM_IndexedLoadFiltered(benchmark::State& run) {
  CompleteViewer viewer;
  headless::HeadlessToolkit toolkit;
  CompleteLoad load{toolkit, viewer.store};
  load.SetAtOnceBytes(std::uint64_t{1} << 40);
  FilterTheMillionLines(viewer, run.range(0));
  for (auto _ : run)
    load.Load(viewer.state, viewer.types, viewer.view, &viewer.model);
  run.counters["shown_lines"] = static_cast<double>(viewer.view.LineCount());
}
BENCHMARK(BM_IndexedLoadFiltered)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A changed filter on the indexed view of the million lines: the lines indexed are read again
// and filtered, not loaded again. 0 the filter cleared, 1 counted types, 2 an expression.
void BM_ChangeFilterOnIndexedView(benchmark::State& run) {
  CompleteViewer viewer;
  headless::HeadlessToolkit toolkit;
  CompleteLoad load{toolkit, viewer.store};
  load.SetAtOnceBytes(std::uint64_t{1} << 40);
  viewer.state.path = MillionLines().path;
  load.Load(viewer.state, viewer.types, viewer.view, &viewer.model);
  for (auto _ : run) {
    run.PauseTiming();
    FilterTheMillionLines(viewer, run.range(0) == 0 ? 1 : 0);
    load.Refilter();
    FilterTheMillionLines(viewer, run.range(0));
    run.ResumeTiming();
    load.Refilter();
  }
  run.counters["shown_lines"] = static_cast<double>(viewer.view.LineCount());
}
BENCHMARK(BM_ChangeFilterOnIndexedView)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// Reload ticks on a 1 MB tail with the largest history limit and a filter on (0: none, 1: an
// expression with context) while a writer appends 1 000 lines a second.
void BM_ReloadTickFiltered(benchmark::State& run) {
  const testing::ScratchFolder folder;
  const std::string log = folder.File("app.log");
  std::uint64_t written = 0;
  {
    std::ofstream out(log, std::ios::binary);
    while (out.tellp() < 2 * 1024 * 1024)
      out << LogLine(written++);
  }
  testing::MemorySettings store;
  store.values["Options.LastBufferSizeIndex"] = "6";
  store.values["Options.LastHistMaxLinesIndex"] = "4";
  if (run.range(0) == 1) {
    store.values["Filter\\Expression"] = "timeout|status 50[0-9]";
    store.values["Filter\\Context"] = "2";
  }
  headless::HeadlessToolkit toolkit;
  TForm1 form(toolkit, 1, log, store, platform::SystemDirectoryChangeSource());
  form.FormCreate();
  form.FormShow();
  toolkit.clock().Advance(50);
  std::ofstream out(log, std::ios::binary | std::ios::app);
  std::vector<double> ticks;
  for (auto _ : run) {
    for (int i = 0; i < 20; ++i)
      out << LogLine(written++);
    out.flush();
    form.CheckFileChanged();
    const auto begin = std::chrono::steady_clock::now();
    form.Timer1Timer();
    const auto end = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(end - begin).count();
    ticks.push_back(ms);
    run.SetIterationTime(ms / 1000.0);
  }
  std::sort(ticks.begin(), ticks.end());
  run.counters["median_ms"] = ticks[ticks.size() / 2];
  run.counters["worst_ms"] = ticks.back();
  run.counters["filtering"] = form.viewModel().Filtering() ? 1 : 0;
}
BENCHMARK(BM_ReloadTickFiltered)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

double Seconds(std::chrono::steady_clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

// Counting the matches of an expression through the view of the million lines, and grep -c -E
// with the same expression on the same file in the same run.
void BM_FindExpressionBesideGrep(benchmark::State& run) {
  CompleteViewer viewer;
  viewer.state.path = MillionLines().path;
  LoadCompleteFile(viewer.state, viewer.types, viewer.view);
  ViewFinder finder;
  std::string error;
  finder.Set(FindQuery{"timeout, retrying node 9[0-9]", true, true, false}, error);
  double grepSeconds = 0;
  for (auto _ : run) {
    benchmark::DoNotOptimize(finder.Count(viewer.view, 0));
    run.PauseTiming();
    const auto begin = std::chrono::steady_clock::now();
    const std::string command = "grep -c -E 'timeout, retrying node 9[0-9]' '" +
                                MillionLines().path + "' >'" + MillionLines().path + ".count'";
    if (std::system(command.c_str()) < 0)
      run.SkipWithError("grep did not run");
    grepSeconds += Seconds(std::chrono::steady_clock::now() - begin);
    run.ResumeTiming();
  }
  run.counters["grep_ms"] =
      benchmark::Counter(grepSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindExpressionBesideGrep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brontel
