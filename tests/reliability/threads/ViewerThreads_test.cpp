#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/reliability/support/ScenarioFixture.h"
#include "watch/Fsnotify.h"

namespace brontel::reliability {
namespace {

// Watcher threads, the UI-thread posting and the viewers, while writers in two folders keep
// the watchers busy: auto tail toggled, the watched folder changed, viewers closed and opened
// again. The views must stay well formed; ThreadSanitizer watches the rest.
// BRONTEL_RELIABILITY_THREADS_SECONDS sets the duration.
TEST(ViewerThreads, TogglingWatchingAndClosingWhileChangesArrive) {
  ScratchFolder first;
  ScratchFolder second;
  testing::MemorySettings store;
  store.values["Options.Active"] = "1";
  ViewerHarness harness(store);
  std::vector<std::unique_ptr<LogWriter>> writers;
  for (const ScratchFolder* folder : {&first, &second}) {
    for (const char* name : {"a.log", "b.log"})
      writers.push_back(std::make_unique<LogWriter>(folder->File(name)));
  }
  for (auto& writer : writers)
    writer->Start(300);
  for (auto& writer : writers)
    harness.Open(writer->Path());

  const double seconds = RunSeconds("BRONTEL_RELIABILITY_THREADS_SECONDS", 3);
  std::mt19937 random(3);
  int toggles = 0;
  int moves = 0;
  int reopened = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    TForm1& form = *harness.Viewers()[random() % harness.Viewers().size()];
    switch (random() % 8) {
      case 0:
        form.controls().chkActive.SetChecked(!form.controls().chkActive.Checked());
        ++toggles;
        break;
      case 1:
        if (form.watcher() != nullptr) {
          const bool inFirst = form.watcher()->Path().rfind(first.Path().string(), 0) == 0;
          form.watcher()->SetPath((inFirst ? second : first).Path().string() + "/");
          ++moves;
        }
        break;
      case 2: {
        const std::string path = form.viewerState().path;
        harness.Close(form);
        harness.Open(path);
        ++reopened;
        break;
      }
      default:
        break;
    }
    harness.Pump(50);
    for (TForm1* viewer : harness.Viewers()) {
      if (viewer->TailLoads() > 0) {
        ASSERT_TRUE(ViewIsWellFormed(*viewer))
            << "loads " << viewer->TailLoads() << " pending " << viewer->reloadPending()
            << " status " << viewer->viewerState().statusText << " complete "
            << viewer->options().LoadCompleteFile << " active " << viewer->options().Active
            << " toggles " << toggles << " moves " << moves << " reopened " << reopened;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  while (!harness.Viewers().empty())
    harness.Close(*harness.Viewers().back());
  for (auto& writer : writers) {
    writer->Stop();
    EXPECT_TRUE(FileBytes(writer->Path()) == writer->Expected());
  }
  EXPECT_GT(toggles + moves + reopened, 10);
}

}  // namespace
}  // namespace brontel::reliability
