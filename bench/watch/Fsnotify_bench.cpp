// How quickly a write reaches the change handler, and what one activation costs.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "tests/support/ScratchFolder.h"
#include "ui/UiThreadPoster.h"
#include "watch/Fsnotify.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

// No errors are expected here; anything posted is dropped.
class DroppingPoster : public ui::UiThreadPoster {
 public:
  void Post(std::function<void()>) override {}
};

// Counts handler calls and lets the benchmark thread wait for the next one.
class CallCounter {
 public:
  TNotifyChangeEvent Handler() {
    return [this](TThNotifyWalker&) {
      {
        std::lock_guard lock(mutex_);
        ++calls_;
      }
      called_.notify_all();
    };
  }
  long Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  void WaitBeyond(long calls) {
    std::unique_lock lock(mutex_);
    called_.wait(lock, [&] { return calls_ > calls; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable called_;
  long calls_ = 0;
};

void BM_WriteToChangeCall(benchmark::State& state) {
  const testing::ScratchFolder dir;
  const fs::path file = dir.Path() / "app.log";
  DroppingPoster poster;
  CallCounter counter;
  TFSNotify watcher(poster);
  watcher.SetPath(dir.Path().string());
  watcher.SetFilters({TNotifyFilter::cSize, TNotifyFilter::cLastWrite});
  watcher.SetOnChange(counter.Handler());
  watcher.SetFirst(true);
  watcher.SetActive(true);
  counter.WaitBeyond(0);
  for (auto _ : state) {
    const long before = counter.Calls();
    std::ofstream(file, std::ios::app) << "line\n";
    counter.WaitBeyond(before);
  }
}
BENCHMARK(BM_WriteToChangeCall)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_ActivateReportStop(benchmark::State& state) {
  const testing::ScratchFolder dir;
  if (state.range(0) > 0) {
    for (int i = 0; i < state.range(0); ++i)
      fs::create_directories(dir.Path() / std::to_string(i) / "sub");
  }
  DroppingPoster poster;
  CallCounter counter;
  for (auto _ : state) {
    TFSNotify watcher(poster);
    watcher.SetPath(dir.Path().string());
    watcher.SetOnChange(counter.Handler());
    watcher.SetSubTree(state.range(0) > 0);
    watcher.SetFirst(true);
    const long before = counter.Calls();
    watcher.SetActive(true);
    counter.WaitBeyond(before);  // the watch is in place once the first report came
  }                              // destruction stops and joins the worker
}
BENCHMARK(BM_ActivateReportStop)->Arg(0)->Arg(100)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brontel
