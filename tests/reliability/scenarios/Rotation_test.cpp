#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "tests/reliability/support/ScenarioFixture.h"

namespace brontel::reliability {
namespace {

enum class Rotation { RenameAndRecreate, CopyAndTruncate, DeleteAndRecreate };

class RotationTest : public ScenarioFixture, public ::testing::WithParamInterface<Rotation> {
 protected:
  void Rotate(int round) {
    const std::string old = logPath + "." + std::to_string(round);
    const std::string before = writer.Expected();
    switch (GetParam()) {
      case Rotation::RenameAndRecreate:
        writer.RotateByRename(old);
        break;
      case Rotation::CopyAndTruncate:
        writer.CopyAndTruncate(old);
        break;
      case Rotation::DeleteAndRecreate:
        writer.DeleteAndRecreate();
        return;
    }
    oldFiles.emplace_back(old, before);
  }

  std::vector<std::pair<std::string, std::string>> oldFiles;
};

TEST_P(RotationTest, EveryReloadShowsTheCurrentFileAndTheHistoryKeepsTheOldLines) {
  writer.Start(400);
  OpenViewer();
  for (int round = 1; round <= 4 && !HasFailure(); ++round) {
    RunChecked(1500);
    Rotate(round);
    RunChecked(1500);
  }
  SettleAndCheck();
  EXPECT_GT(checkedReloads, 8);
  EXPECT_GT(witness.Seen(), 10u);
  for (const auto& [path, bytes] : oldFiles)
    EXPECT_TRUE(FileBytes(path) == bytes) << path << " changed";
}

INSTANTIATE_TEST_SUITE_P(Rotations, RotationTest,
                         ::testing::Values(Rotation::RenameAndRecreate, Rotation::CopyAndTruncate,
                                           Rotation::DeleteAndRecreate));

using TruncationTest = ScenarioFixture;

TEST_F(TruncationTest, CuttingTheFileWhileReloadsRunKeepsEveryViewWellFormed) {
  SetBufferIndex(6);  // 1 MB: loads take long enough to be cut in the middle
  for (int i = 0; i < 20000; ++i)
    writer.AppendNextLine();
  writer.Start(2000);
  OpenViewer();
  std::atomic<bool> cutting{true};
  std::thread cutter([&] {
    std::mt19937 random(7);
    while (cutting) {
      const std::size_t size = writer.Size();
      writer.TruncateTo(random() % 3 == 0 ? 0 : random() % (size + 1));
      std::this_thread::sleep_for(std::chrono::milliseconds(random() % 30));
    }
  });
  for (int step = 0; step < 120 && !HasFailure(); ++step) {
    const std::uint64_t loads = form->TailLoads();
    harness.Pump(50);
    if (form->TailLoads() != loads) {
      EXPECT_TRUE(ViewIsWellFormed(*form));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  cutting = false;
  cutter.join();
  SettleAndCheck();
  EXPECT_TRUE(FileBytes(logPath) == writer.Expected());
}

TEST_F(TruncationTest, ShorterAndEmptyFilesAreReadAgainFromTheirNewEnd) {
  for (int i = 0; i < 2000; ++i)
    writer.AppendNextLine();
  OpenViewer();
  RunChecked(200);
  for (const std::size_t size : {50000u, 1234u, 0u, 7u}) {
    writer.TruncateTo(size);
    form->CheckFileChanged();
    RunChecked(500);
    EXPECT_TRUE(ViewMatchesFile(*form, FileBytes(logPath)));
    for (int i = 0; i < 300; ++i)
      writer.AppendNextLine();
    RunChecked(1500);
  }
  SettleAndCheck();
}

}  // namespace
}  // namespace brontel::reliability
