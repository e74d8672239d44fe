// Search over 100 MB of log text: the in-place search, the copy, upper-case and scan method, and
// memmem over a buffer prepared in advance (already joined, and already upper-cased when case does
// not matter), the fastest any search over these bytes can be.
//
// The pattern stands once at the far end of the direction searched, so every run reads the whole
// text.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Casing.h"
#include "plugin/TextSearcher.h"
#include "tests/plugin/LiteralSearch.h"

namespace brontel {
namespace {

constexpr std::size_t kTextBytes = 100 * 1024 * 1024;
constexpr const char* kLastLine =
    "2026-12-09 23:59:59.999 [io-7] ERROR Disk Quota Exceeded on /var";
constexpr const char* kFirstLine = "2026-12-09 00:00:00.000 [main] INFO Startup Complete in 2 s";

// The lines of a log file: timestamps, thread names, levels and messages, some accented.
std::vector<std::string> MakeLogLines() {
  static const char* const kLevels[] = {"INFO ", "DEBUG", "INFO ", "WARN ", "INFO ", "ERROR"};
  static const char* const kMessages[] = {"Processed request id=%d in %d ms",
                                          "Connection from 10.0.%d.%d accepted",
                                          "Cache miss for key user:%d, loading (attempt %d)",
                                          "R\xC3\xA9ponse envoy\xC3\xA9"
                                          "e au client %d apr\xC3\xA8s %d ms",
                                          "Retrying operation #%d after timeout of %d ms",
                                          "Scheduled job cleanup-%d finished with status %d"};
  std::vector<std::string> lines;
  lines.emplace_back(kFirstLine);
  std::size_t bytes = lines.back().size() + 2;
  char line[256];
  for (unsigned i = 0; bytes < kTextBytes; ++i) {
    char message[160];
    std::snprintf(message, sizeof message, kMessages[(i * 7) % 6], i % 9973, (i * 31) % 977);
    std::snprintf(line, sizeof line, "2026-12-09 %02u:%02u:%02u.%03u [worker-%u] %s %s",
                  (i / 3600000) % 24, (i / 60000) % 60, (i / 1000) % 60, i % 1000, i % 8,
                  kLevels[(i * 13) % 6], message);
    lines.emplace_back(line);
    bytes += lines.back().size() + 2;
  }
  lines.emplace_back(kLastLine);
  return lines;
}

struct Corpus {
  std::vector<std::string> lines = MakeLogLines();
  std::string text = testing::JoinLines(lines);
  platform::UpperCaseMap casing = UnicodeCasing();
  std::string upper_text = casing.Upper(text);

  static platform::UpperCaseMap UnicodeCasing() {
    try {
      return platform::UpperCaseMapOfLocale("C.UTF-8");
    } catch (const std::exception&) {  // no such locale here
      return platform::UserUpperCaseMap();
    }
  }
};

const Corpus& TheCorpus() {
  static const Corpus corpus;
  return corpus;
}

struct Case {
  const char* pattern;
  TextOffset start;
  int flags;
};

Case CaseOf(const benchmark::State& state) {
  const bool backwards = state.range(0) != 0;
  const bool match_case = state.range(1) != 0;
  const int flags = (backwards ? kSearchBackwards : 0) | (match_case ? kSearchMatchCase : 0);
  if (backwards)
    return {match_case ? "Startup Complete" : "startup complete", 0, flags};
  return {match_case ? "Disk Quota Exceeded" : "disk quota exceeded", 0, flags};
}

void Label(benchmark::State& state, TextOffset found) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(TheCorpus().text.size()));
  state.SetLabel(std::string(state.range(0) ? "backward" : "forward") +
                 (state.range(1) ? " match case" : " any case") +
                 (found == kNotFound ? " NOT FOUND" : ""));
}

void BM_InPlace(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  const Case c = CaseOf(state);
  const TextSearcher searcher(corpus.text, corpus.casing);
  TextOffset found = kNotFound;
  for (auto _ : state) {
    found = searcher.Search(c.pattern, c.start, c.flags);
    benchmark::DoNotOptimize(found);
  }
  Label(state, found);
}

void BM_InPlaceWholeWords(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  const Case c = CaseOf(state);
  const TextSearcher searcher(corpus.text, corpus.casing);
  TextOffset found = kNotFound;
  for (auto _ : state) {
    found = searcher.Search(c.pattern, c.start, c.flags | kSearchWholeWords);
    benchmark::DoNotOptimize(found);
  }
  Label(state, found);
}

void BM_Literal(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  const Case c = CaseOf(state);
  TextOffset found = kNotFound;
  for (auto _ : state) {
    found = testing::LiteralSearch(testing::JoinLines(corpus.lines), c.pattern, c.start, c.flags,
                                   corpus.casing);
    benchmark::DoNotOptimize(found);
  }
  Label(state, found);
}

// memmem only searches forwards; backwards it stands for a forward scan over the same bytes.
void BM_Memmem(benchmark::State& state) {
  const Corpus& corpus = TheCorpus();
  const bool match_case = state.range(1) != 0;
  const char* pattern = match_case ? "Disk Quota Exceeded" : "disk quota exceeded";
  const std::string& haystack = match_case ? corpus.text : corpus.upper_text;
  const std::string needle = match_case ? pattern : corpus.casing.Upper(pattern);
  TextOffset found = kNotFound;
  for (auto _ : state) {
    const void* at = ::memmem(haystack.data(), haystack.size(), needle.data(), needle.size());
    found = at == nullptr ? kNotFound : static_cast<const char*>(at) - haystack.data();
    benchmark::DoNotOptimize(found);
  }
  Label(state, found);
}

// What every searcher made for the user's locale pays before it reads any text.
void BM_UserCasing(benchmark::State& state) {
  for (auto _ : state) {
    platform::UpperCaseMap casing = platform::UserUpperCaseMap();
    benchmark::DoNotOptimize(casing);
  }
}
BENCHMARK(BM_UserCasing)->Unit(benchmark::kMicrosecond);

void Directions(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgsProduct({{0, 1}, {1, 0}})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Memmem)->Apply(Directions);
BENCHMARK(BM_InPlace)->Apply(Directions);
BENCHMARK(BM_InPlaceWholeWords)->Apply(Directions);
BENCHMARK(BM_Literal)->Apply(Directions)->Iterations(3);

}  // namespace
}  // namespace brontel
