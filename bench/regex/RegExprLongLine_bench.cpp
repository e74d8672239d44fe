// Searches over long lines that a backtracking matcher finds hard: repeated groups over the
// whole line, and searches that retry a repetition from every start position. Each runs on a
// line of the given length; "bytes_per_second" is the figure to compare.

#include <benchmark/benchmark.h>

#include <string>

#include "regex/RegExpr.h"

namespace brontel {
namespace {

std::string Repeat(const std::string& unit, std::size_t length) {
  std::string text;
  while (text.size() < length)
    text += unit;
  text.resize(length);
  return text;
}

void Search(benchmark::State& state, const char* pattern, const std::string& text, bool found) {
  RegExpr re(pattern);
  for (auto _ : state) {
    int length = 0;
    const bool hit = re.Match(text.c_str(), length) >= 0;
    if (hit != found || !re.lastError().empty()) {
      state.SkipWithError("wrong answer");
      return;
    }
    benchmark::DoNotOptimize(length);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
}

void BM_GroupStarToTheEnd(benchmark::State& state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  Search(state, "^(a|b)*c$", Repeat("ab", length) + "c", true);
}

void BM_GroupStarFailsAtTheEnd(benchmark::State& state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  Search(state, "^(a|b)*c$", Repeat("ab", length) + "cd", false);
}

void BM_SetStarRetriedFromEveryStart(benchmark::State& state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  Search(state, "[ab]*[cd]", Repeat("a", length), false);
}

void BM_AmbiguousGroupPlus(benchmark::State& state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  Search(state, "(a|a)+b", Repeat("a", length) + "cb", false);
}

BENCHMARK(BM_GroupStarToTheEnd)->Arg(4 << 10)->Arg(256 << 10)->Arg(1 << 20);
BENCHMARK(BM_GroupStarFailsAtTheEnd)->Arg(4 << 10)->Arg(256 << 10);
BENCHMARK(BM_SetStarRetriedFromEveryStart)->Arg(4 << 10)->Arg(1 << 20);
BENCHMARK(BM_AmbiguousGroupPlus)->Arg(4 << 10)->Arg(256 << 10);

}  // namespace
}  // namespace brontel
