// Classification cost as the viewer meets it: one screen of displayed lines through the
// line-attribute fill (this runs at every repaint), and CountLine over a million lines as read
// from the file, with the built-in types and with twelve configured types.
//
// BRONTEL_BENCH_LINES sets the number of lines of the counting runs (default 1 000 000).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "classify/LineClassifier.h"
#include "tests/support/MemorySettings.h"
#include "ui/LineStore.h"

namespace brontel {
namespace {

// Twelve types of the kind users configure: level words, component tags, phrases anywhere.
void ConfigureTwelveTypes(testing::MemorySettings& store) {
  const std::vector<std::vector<std::string>> exprs = {
      {"^E   .+", "^E\t.+"},
      {"^W   .+", "^W\t.+"},
      {"^U   .+", "^U\t.+", ".+FAILED.+"},
      {"^[0-9]+-[0-9]+-[0-9]+ [0-9:.]+ FATAL .+"},
      {".+ ERROR \\[.+"},
      {".+[Tt]imeout.+", ".+timed out.+"},
      {".+Exception.+"},
      {"^[0-9-]+ [0-9:.]+ WARN .+"},
      {".+\\[db\\].+"},
      {".+retry.+", ".+retrying.+"},
      {"^DEBUG .+"},
      {".+disconnected.+"},
  };
  store.values["MsgTypes\\Count"] = std::to_string(exprs.size());
  for (std::size_t i = 0; i < exprs.size(); ++i) {
    const std::string item = "T" + std::to_string(i);
    const std::string section = "MsgTypes." + item + "\\";
    store.values["MsgTypes\\Item" + std::to_string(i)] = item;
    store.values[section + "Name"] = item;
    store.values[section + "ForeColor"] = "clRed";
    store.values[section + "ExprCount"] = std::to_string(exprs[i].size());
    for (std::size_t j = 0; j < exprs[i].size(); ++j)
      store.values[section + "Expr" + std::to_string(j)] = exprs[i][j];
  }
}

// Log lines as a service writes them: mostly plain entries of 40 to 160 characters, and about
// one in twenty with a marker of the built-in types or the word FAILED.
std::vector<std::string> MakeLines(std::size_t count) {
  std::mt19937 random(12345);
  const std::vector<std::string> words = {"request", "served",  "user",   "cache",      "miss",
                                          "session", "opened",  "closed", "queue",      "depth",
                                          "worker",  "started", "GET",    "/api/items", "200"};
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string line;
    switch (random() % 40) {
      case 0:
        line = "E\t";
        break;
      case 1:
        line = "W\t";
        break;
      case 2:
        line = "U\t";
        break;
      case 3:
        line = "|\t";
        break;
      default:
        break;
    }
    line += "2024-05-17 12:" + std::to_string(10 + random() % 50) + ":07.123 INFO ";
    const std::size_t length = 40 + random() % 120;
    while (line.size() < length) {
      line += words[random() % words.size()];
      line += ' ';
    }
    if (random() % 50 == 0)
      line += "step FAILED here";
    lines.push_back(std::move(line));
  }
  return lines;
}

std::size_t BenchLines() {
  const char* text = std::getenv("BRONTEL_BENCH_LINES");
  return text != nullptr ? std::strtoul(text, nullptr, 10) : 1000000;
}

void BM_ScreenLineAttrs(benchmark::State& state) {
  testing::MemorySettings store;
  LineClassifier classifier(store);
  std::vector<std::string> screen;
  for (const std::string& line : MakeLines(60))
    screen.push_back(ui::LineStore::ExpandTabs(line));
  ui::LineAttrs attrs{};
  for (auto _ : state) {
    for (const std::string& line : screen) {
      classifier.FillLineAttrs(line, attrs);
      benchmark::DoNotOptimize(attrs);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(screen.size()));
  state.SetLabel("one screen of 60 lines");
}
BENCHMARK(BM_ScreenLineAttrs)->Unit(benchmark::kMicrosecond);

void CountLines(benchmark::State& state, bool configured) {
  testing::MemorySettings store;
  if (configured)
    ConfigureTwelveTypes(store);
  LineClassifier classifier(store);
  const std::vector<std::string> lines = MakeLines(BenchLines());
  classifier.LoadMsgTypes();
  std::int64_t counted = 0;
  for (auto _ : state) {
    classifier.ResetMsgTypeCounts();
    for (const std::string& line : lines)
      counted += classifier.CountLine(line) ? 1 : 0;
  }
  benchmark::DoNotOptimize(counted);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
  state.SetLabel(std::to_string(lines.size()) + " lines, " +
                 std::to_string(classifier.Types().size()) + " types");
}

void BM_CountLineBuiltinTypes(benchmark::State& state) {
  CountLines(state, false);
}
void BM_CountLineTwelveConfiguredTypes(benchmark::State& state) {
  CountLines(state, true);
}
BENCHMARK(BM_CountLineBuiltinTypes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountLineTwelveConfiguredTypes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brontel
