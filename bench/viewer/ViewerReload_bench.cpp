// Reload ticks of a viewer on a 1 MB tail with the largest history limit while a writer appends
// 1 000 lines a second. Reports the median and the worst tick in milliseconds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "viewer/TForm1.h"

namespace brontel {
namespace {

std::string LogLine(std::uint64_t n) {
  char line[128];
  if (n % 10 == 0)
    std::snprintf(line, sizeof line, "E\t%08llu request failed with status 503 on node %llu\n",
                  static_cast<unsigned long long>(n), static_cast<unsigned long long>(n % 97));
  else
    std::snprintf(line, sizeof line,
                  "I\t%08llu handled request in %llu ms for client 10.0.0.%llu\n",
                  static_cast<unsigned long long>(n), static_cast<unsigned long long>(n % 300),
                  static_cast<unsigned long long>(n % 255));
  return line;
}

void BM_ReloadTickWithWriter(benchmark::State& state) {
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
  headless::HeadlessToolkit toolkit;
  TForm1 form(toolkit, 1, log, store, platform::SystemDirectoryChangeSource());
  form.FormCreate();
  form.FormShow();
  toolkit.clock().Advance(50);

  std::atomic<bool> stop{false};
  std::thread writer([&] {
    std::ofstream out(log, std::ios::binary | std::ios::app);
    std::uint64_t n = written;
    auto next = std::chrono::steady_clock::now();
    while (!stop.load()) {
      out << LogLine(n++);
      out.flush();
      next += std::chrono::milliseconds(1);
      std::this_thread::sleep_until(next);
    }
  });

  std::vector<double> ticks;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    toolkit.queuedPoster().RunPending();
    form.CheckFileChanged();
    const auto begin = std::chrono::steady_clock::now();
    form.Timer1Timer();
    const auto end = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(end - begin).count();
    ticks.push_back(ms);
    state.SetIterationTime(ms / 1000.0);
  }
  stop.store(true);
  writer.join();
  std::sort(ticks.begin(), ticks.end());
  if (!ticks.empty()) {
    state.counters["median_ms"] = ticks[ticks.size() / 2];
    state.counters["worst_ms"] = ticks.back();
  }
  state.counters["history_lines"] = static_cast<double>(form.viewerState().history.Count());
}
BENCHMARK(BM_ReloadTickWithWriter)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brontel
