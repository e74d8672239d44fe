#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>

#include "tests/reliability/support/ScenarioFixture.h"

namespace brontel::reliability {
namespace {

using BusyWriterTest = ScenarioFixture;

char FileByteAt(const std::string& path, std::uint64_t offset) {
  std::ifstream file(path, std::ios::binary);
  file.seekg(static_cast<std::streamoff>(offset));
  return static_cast<char>(file.get());
}

// The writer runs freely, also while a load reads; each view is checked against the stretch of
// the file the load read. BRONTEL_RELIABILITY_SECONDS sets the duration (the full run is 60
// seconds).
TEST_F(BusyWriterTest, TenThousandLinesASecondWithPartialLinesAtEveryRead) {
  const double seconds = RunSeconds("BRONTEL_RELIABILITY_SECONDS", 5);
  writer.Start(10000);
  OpenViewer();
  const auto begin = std::chrono::steady_clock::now();
  const auto end = begin + std::chrono::duration<double>(seconds);
  int reloads = 0;
  int partialReads = 0;
  while (std::chrono::steady_clock::now() < end && !HasFailure()) {
    const std::uint64_t loads = form->TailLoads();
    harness.Pump(50);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (form->TailLoads() == loads)
      continue;
    ++reloads;
    std::uint64_t readEnd = 0;
    EXPECT_TRUE(ViewMatchesWhatTheLoadRead(*form, logPath, readEnd));
    if (readEnd > 0 && FileByteAt(logPath, readEnd - 1) != '\n')
      ++partialReads;
    witness.Saw(*form);
    if (reloads % 16 == 0) {
      EXPECT_TRUE(witness.NothingLost(*form));
    }
  }
  writer.Stop();
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  SettleAndCheck();
  std::cout << "[ figures  ] " << writer.LinesWritten() << " lines in " << elapsed << " s ("
            << static_cast<int>(writer.LinesWritten() / elapsed) << " a second), " << reloads
            << " reloads checked, " << partialReads << " of them ending in a partial line, "
            << "history of " << form->viewerState().history.Count() << " lines\n";
  EXPECT_GT(reloads, 3);
  EXPECT_GT(partialReads, reloads / 2);
}

}  // namespace
}  // namespace brontel::reliability
