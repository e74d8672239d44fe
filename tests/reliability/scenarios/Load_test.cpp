#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "tests/reliability/support/ScenarioFixture.h"

namespace brontel::reliability {
namespace {

using BusyWriterTest = ScenarioFixture;

// BRONTEL_RELIABILITY_SECONDS sets the duration (the full run is 60 seconds).
TEST_F(BusyWriterTest, TenThousandLinesASecondWithPartialLinesAtEveryRead) {
  const double seconds = RunSeconds("BRONTEL_RELIABILITY_SECONDS", 5);
  writer.Start(10000);
  OpenViewer();
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  int partialReads = 0;
  while (std::chrono::steady_clock::now() < end && !HasFailure()) {
    if (CheckedStep() && partialAtLastReload)
      ++partialReads;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  SettleAndCheck();
  std::cout << "[ figures  ] " << writer.LinesWritten() << " lines in " << seconds << " s, "
            << checkedReloads << " reloads checked, " << partialReads
            << " of them ending in a partial line, history of "
            << form->viewerState().history.Count() << " lines\n";
  EXPECT_GE(writer.LinesWritten(), static_cast<std::uint64_t>(seconds * 10000 * 0.9));
  EXPECT_GT(partialReads, 0);
}

}  // namespace
}  // namespace brontel::reliability
