// A complete load's two passes over the file's text in memory: finding the lines (with their
// tabs and the NUL byte) and laying them out in place as the view's text.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "ui/FileLines.h"
#include "ui/LineStore.h"

namespace brontel::ui {
namespace {

constexpr std::size_t kLines = 400'000;

// Log lines of 60 to 200 bytes, each starting with a type letter and a tab, ending in LF.
const std::string& LogFileText() {
  static const std::string text = [] {
    std::mt19937 random(7);
    std::string built;
    for (std::size_t i = 0; i < kLines; ++i) {
      std::string line = (i % 50 == 0 ? "E\t" : "I\t") + std::to_string(i) + " worker ";
      line.resize(60 + random() % 141, 'x');
      built += line;
      built += '\n';
    }
    return built;
  }();
  return text;
}

void BM_ScanFileLines(benchmark::State& state) {
  const std::string& text = LogFileText();
  for (auto _ : state) {
    std::size_t bytes = 0;
    const FileLines lines =
        ScanFileLines(text, [&](std::string_view line) { bytes += line.size(); });
    benchmark::DoNotOptimize(bytes);
    benchmark::DoNotOptimize(lines.Count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ScanFileLines)->Unit(benchmark::kMillisecond);

void BM_AssignFileLinesInPlace(benchmark::State& state) {
  const std::string& text = LogFileText();
  LineStore store;
  for (auto _ : state) {
    state.PauseTiming();
    store.Clear();
    std::string buffer;
    buffer.reserve(text.size() + text.size() / 4);
    buffer = text;
    FileLines lines = ScanFileLines(buffer);
    state.ResumeTiming();
    store.AssignInPlace({}, std::move(buffer), std::move(lines));
    benchmark::DoNotOptimize(store.TextLength());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_AssignFileLinesInPlace)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brontel::ui
