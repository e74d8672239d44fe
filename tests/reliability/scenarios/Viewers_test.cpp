#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/reliability/support/ScenarioFixture.h"

namespace brontel::reliability {
namespace {

// Three logs, each with its own writer; up to eight viewers on them, opened and closed in
// random order. BRONTEL_RELIABILITY_VIEWERS_SECONDS sets the duration (the full run is five
// minutes).
class ManyViewersTest : public ::testing::Test {
 protected:
  static constexpr std::size_t kMaxViewers = 8;

  ManyViewersTest() {
    store.values["Options.LastHistMaxLinesIndex"] = "4";
    for (int i = 0; i < 3; ++i)
      writers.push_back(
          std::make_unique<LogWriter>(folder.File("log" + std::to_string(i) + ".log")));
  }

  void OpenOne(std::mt19937& random) {
    LogWriter& writer = *writers[random() % writers.size()];
    store.values["Options.LastBufferSizeIndex"] = std::to_string(random() % 7);
    TForm1& form = harness.Open(writer.Path());
    fileOf[&form] = &writer;
    loadsOf[&form] = 0;
    ++opened;
  }

  void CloseOne(std::mt19937& random) {
    TForm1& form = *harness.Viewers()[random() % harness.Viewers().size()];
    fileOf.erase(&form);
    loadsOf.erase(&form);
    harness.Close(form);
  }

  // One message-loop step with every writer held; each viewer that reloaded must show its
  // file exactly.
  void CheckedStep() {
    std::vector<std::unique_lock<std::recursive_mutex>> holds;
    for (auto& writer : writers)
      holds.push_back(writer->Hold());
    harness.Pump(50);
    for (TForm1* form : harness.Viewers()) {
      if (form->TailLoads() == loadsOf[form])
        continue;
      loadsOf[form] = form->TailLoads();
      ++reloads;
      EXPECT_TRUE(ViewMatchesFile(*form, FileBytes(fileOf[form]->Path())));
    }
  }

  ScratchFolder folder;
  testing::MemorySettings store;
  ViewerHarness harness{store};
  std::vector<std::unique_ptr<LogWriter>> writers;
  std::map<TForm1*, LogWriter*> fileOf;
  std::map<TForm1*, std::uint64_t> loadsOf;
  int opened = 0;
  int reloads = 0;
};

TEST_F(ManyViewersTest, EightViewersOpenedAndClosedInRandomOrderAllShowTheirFiles) {
  const double seconds = RunSeconds("BRONTEL_RELIABILITY_VIEWERS_SECONDS", 4);
  for (auto& writer : writers)
    writer->Start(150);
  std::mt19937 random(11);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end && !HasFailure()) {
    const unsigned action = random() % 10;
    if (action == 0 && harness.Viewers().size() < kMaxViewers)
      OpenOne(random);
    else if (action == 1 && harness.Viewers().size() > 2)
      CloseOne(random);
    CheckedStep();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (auto& writer : writers) {
    writer->Stop();
    EXPECT_TRUE(FileBytes(writer->Path()) == writer->Expected()) << writer->Path() << " changed";
  }
  std::cout << "[ figures  ] " << opened << " viewers opened, " << reloads << " reloads checked in "
            << seconds << " s\n";
  EXPECT_GT(opened, 4);
  EXPECT_GT(reloads, opened);
}

}  // namespace
}  // namespace brontel::reliability
