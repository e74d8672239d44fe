#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/host/PluginHost.h"
#include "tests/reliability/support/LogWriter.h"
#include "tests/reliability/support/ViewerHarness.h"

namespace brontel::reliability {
namespace {

void* const kParent = reinterpret_cast<void*>(0x4711);
constexpr int kFindFirst = 1;
constexpr int kFound = 0;
constexpr int kNotFound = 1;

struct OpenViewer {
  void* window = nullptr;
  std::size_t file = 0;
};

// Three logs with busy writers; up to eight viewers of the loaded module on them, opened and
// closed through the entry points in random order. Every log keeps getting a line that names
// it, often enough that one is always inside the viewers' tail: each loaded viewer must find
// its own log's name and no other. BRONTEL_RELIABILITY_VIEWERS_SECONDS sets the duration (the
// full run is five minutes); however slow the machine, the run takes at least kLeastSteps steps.
TEST(ModuleViewers, EightViewersOpenedAndClosedThroughTheEntryPoints) {
  ScratchFolder folder;
  ScratchFolder home;
  ::setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
  host::PluginHost& host = host::TheHost();
  host.ListSetDefaultParams(folder.File("wincmd.ini"));

  std::vector<std::unique_ptr<LogWriter>> writers;
  for (int i = 0; i < 3; ++i) {
    writers.push_back(std::make_unique<LogWriter>(folder.File("app" + std::to_string(i) + ".log")));
    writers.back()->Start(150);
  }
  const auto marker = [](std::size_t file) { return "marker-of-app" + std::to_string(file); };
  // The writers go on at their pace however long a step takes: a marker goes in after every
  // kLinesPerMarker of their lines (a few KB, well inside the 20 KB tail).
  constexpr std::uint64_t kLinesPerMarker = 50;
  constexpr int kLeastSteps = 200;
  std::vector<std::uint64_t> linesAtMarker(writers.size(), 0);
  const auto appendDueMarkers = [&](bool always) {
    for (std::size_t file = 0; file < writers.size(); ++file) {
      const std::uint64_t lines = writers[file]->LinesWritten();
      if (always || lines >= linesAtMarker[file] + kLinesPerMarker) {
        writers[file]->Append("E   " + marker(file) + "\n");
        linesAtMarker[file] = lines;
      }
    }
  };
  appendDueMarkers(true);

  std::vector<OpenViewer> open;
  std::mt19937 random(17);
  int opened = 0;
  int searches = 0;
  const double seconds = RunSeconds("BRONTEL_RELIABILITY_VIEWERS_SECONDS", 4);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (int step = 0; (step < kLeastSteps || std::chrono::steady_clock::now() < end) &&
                     !::testing::Test::HasFailure();
       ++step) {
    appendDueMarkers(false);
    const unsigned action = random() % 10;
    if (action == 0 && open.size() < 8) {
      const std::size_t file = random() % writers.size();
      void* window = host.ListLoad(kParent, writers[file]->Path().c_str(), 0);
      ASSERT_NE(window, nullptr);
      open.push_back({window, file});
      ++opened;
    } else if (action == 1 && open.size() > 2) {
      const std::size_t which = random() % open.size();
      host.ListCloseWindow(open[which].window);
      open.erase(open.begin() + static_cast<std::ptrdiff_t>(which));
    }
    host.RunMessageLoop(50);
    for (const OpenViewer& viewer : open) {
      if (host.SelectionOf(viewer.window).textLength <= 0)
        continue;  // not loaded yet
      const std::size_t other = (viewer.file + 1) % writers.size();
      EXPECT_EQ(host.ListSearchText(viewer.window, marker(viewer.file).c_str(), kFindFirst),
                kFound);
      EXPECT_EQ(host.ListSearchText(viewer.window, marker(other).c_str(), kFindFirst), kNotFound);
      ++searches;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (const OpenViewer& viewer : open)
    host.ListCloseWindow(viewer.window);
  host.RunMessageLoop(0);
  for (auto& writer : writers) {
    writer->Stop();
    EXPECT_TRUE(FileBytes(writer->Path()) == writer->Expected()) << writer->Path() << " changed";
  }
  std::cout << "[ figures  ] " << opened << " viewers opened, " << searches << " searches in "
            << seconds << " s\n";
  EXPECT_GT(opened, 4);
}

}  // namespace
}  // namespace brontel::reliability
