// A viewer with auto tail and auto follow on, a busy writer that rotates its log now and then,
// and the resident memory reported once a minute.
//
//   reliability_soak [--minutes N] [--lines-per-second N] [--rotate-megabytes N]
//
// Prints one line a minute: minute, resident memory in KB, tail loads, lines written, history
// lines. Ends with the smallest and largest resident memory after the first minute.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "tests/reliability/support/LogWriter.h"
#include "tests/reliability/support/ViewCheck.h"
#include "tests/reliability/support/ViewerHarness.h"
#include "tests/support/MemorySettings.h"

namespace {

using namespace brontel::reliability;

struct Settings {
  int minutes = 30;
  int linesPerSecond = 2000;
  int rotateMegabytes = 64;
};

Settings ParseArguments(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const int value = std::max(1, std::atoi(argv[i + 1]));
    if (name == "--minutes")
      settings.minutes = value;
    else if (name == "--lines-per-second")
      settings.linesPerSecond = value;
    else if (name == "--rotate-megabytes")
      settings.rotateMegabytes = value;
  }
  return settings;
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0)
      return std::atol(line.c_str() + 6);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = ParseArguments(argc, argv);
  ScratchFolder folder;
  ::setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
  brontel::testing::MemorySettings store;
  store.values["Options.Active"] = "1";
  store.values["Options.AutoFollowMode"] = "1";
  LogWriter writer(folder.File("busy.log"), false);
  ViewerHarness harness(store);
  brontel::TForm1& form = harness.Open(writer.Path());
  writer.Start(settings.linesPerSecond);

  std::cout << "minute  rss_kb  tail_loads  lines_written  history_lines  view_lines\n";
  long smallest = 0;
  long largest = 0;
  int rotations = 0;
  int malformed = 0;
  const auto begin = std::chrono::steady_clock::now();
  for (int minute = 1; minute <= settings.minutes; ++minute) {
    while (std::chrono::steady_clock::now() - begin < std::chrono::minutes(minute)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      const std::uint64_t loads = form.TailLoads();
      harness.Pump(50);
      if (form.TailLoads() != loads) {
        if (const ::testing::AssertionResult formed = ViewIsWellFormed(form); !formed) {
          if (++malformed <= 5)
            std::cout << "view is not well formed: " << formed.message() << std::endl;
        }
      }
      if (writer.Size() > static_cast<std::size_t>(settings.rotateMegabytes) << 20) {
        writer.RotateByRename(writer.Path() + ".1");
        ++rotations;
      }
    }
    const long rss = ResidentKilobytes();
    if (minute > 1) {
      smallest = smallest == 0 ? rss : std::min(smallest, rss);
      largest = std::max(largest, rss);
    }
    std::cout << minute << "  " << rss << "  " << form.TailLoads() << "  " << writer.LinesWritten()
              << "  " << form.viewerState().history.Count() << "  " << form.editor().LineCount()
              << std::endl;
  }
  writer.Stop();
  std::cout << "rotations " << rotations << ", resident memory after the first minute " << smallest
            << " .. " << largest << " KB, " << malformed << " reloads gave a malformed view\n";
  return malformed == 0 ? 0 : 1;
}
