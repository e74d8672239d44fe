/** @file ScenarioFixture.h: one viewer on a log that a writer keeps changing, checked closely. */
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/reliability/support/LogWriter.h"
#include "tests/reliability/support/ViewCheck.h"
#include "tests/reliability/support/ViewerHarness.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchHome.h"

namespace brontel::reliability {

// The scenarios' timing logs and fallback settings go to a scratch configuration folder.
inline ::testing::Environment* const kScratchHome =
    ::testing::AddGlobalTestEnvironment(new testing::ScratchHome);

// Auto tail and auto follow on, the history without limit (so that any loss shows), the
// buffer as a test sets it.
class ScenarioFixture : public ::testing::Test {
 protected:
  static constexpr int kUnlimitedHistoryIndex = 4;

  ScenarioFixture() : logPath(folder.File("app.log")), writer(logPath) {
    store.values["Options.Active"] = "1";
    store.values["Options.AutoFollowMode"] = "1";
    store.values["Options.LastHistMaxLinesIndex"] = std::to_string(kUnlimitedHistoryIndex);
  }

  void SetBufferIndex(int index) {
    store.values["Options.LastBufferSizeIndex"] = std::to_string(index);
  }

  TForm1& OpenViewer() {
    form = &harness.Open(logPath);
    return *form;
  }

  // One step of the message loop with the writer stopped between two writes; after a reload
  // the view must show exactly the file as it is, the file must hold exactly what was written,
  // and no history line seen before may be gone. Returns whether a reload happened.
  bool CheckedStep(std::uint64_t milliseconds = 50) {
    const auto hold = writer.Hold();
    const std::uint64_t loads = form->TailLoads();
    harness.Pump(milliseconds);
    if (form->TailLoads() == loads)
      return false;
    // The tail is all a load reads; the whole file is compared when a scenario ends.
    const auto tailSize = static_cast<std::size_t>(form->viewerState().bufferSize);
    const std::string tail = FileTail(logPath, tailSize);
    EXPECT_EQ(std::filesystem::file_size(logPath), writer.Size());
    EXPECT_TRUE(tail == writer.ExpectedTail(tailSize)) << "the log's bytes changed";
    EXPECT_TRUE(ViewMatchesFile(*form, tail));
    partialAtLastReload = !tail.empty() && tail.back() != '\n';
    witness.Saw(*form);
    if (++checkedReloads % 16 == 0) {
      EXPECT_TRUE(witness.NothingLost(*form));
    }
    return true;
  }

  // Checked steps for `milliseconds` of virtual time, giving the writer real time in between.
  void RunChecked(std::uint64_t milliseconds, int realMillisPerStep = 2) {
    for (std::uint64_t t = 0; t < milliseconds && !HasFailure(); t += 50) {
      CheckedStep();
      std::this_thread::sleep_for(std::chrono::milliseconds(realMillisPerStep));
    }
  }

  // Stops the writer and lets one more reload show the final content.
  void SettleAndCheck() {
    writer.Stop();
    form->CheckFileChanged();
    for (int i = 0; i < 40 && !CheckedStep(); ++i) {
    }
    const std::string bytes = FileBytes(logPath);
    EXPECT_TRUE(bytes == writer.Expected()) << "the log's bytes changed";
    EXPECT_TRUE(ViewMatchesFile(*form, bytes));
    EXPECT_TRUE(witness.NothingLost(*form));
  }

  ScratchFolder folder;
  std::string logPath;
  testing::MemorySettings store;
  ViewerHarness harness{store};
  LogWriter writer;
  HistoryWitness witness;
  TForm1* form = nullptr;
  int checkedReloads = 0;
  bool partialAtLastReload = false;
};

}  // namespace brontel::reliability
