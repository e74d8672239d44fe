/** @file ViewerHarness.h: viewers on the headless toolkit, and run durations. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/ExtManager.h"
#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/ScratchFolder.h"
#include "viewer/TForm1.h"

namespace brontel::reliability {

using testing::ScratchFolder;

// Seconds a long scenario runs: the environment variable `name` when it holds a positive
// number, otherwise `fallback`.
double RunSeconds(const char* name, double fallback);

// Opens and closes viewers the way the entry points do and stands in for the UI thread's
// message loop. Viewers still open when the harness goes are closed then.
class ViewerHarness {
 public:
  // The harness's viewers read their options through `store` (which must outlive it).
  explicit ViewerHarness(ExtManager& store);
  // Viewers that read the process-wide settings store.
  ViewerHarness();
  ~ViewerHarness();
  ViewerHarness(const ViewerHarness&) = delete;
  ViewerHarness& operator=(const ViewerHarness&) = delete;

  TForm1& Open(const std::string& path);
  // Closes like the host does: the close, then the posted deletion.
  void Close(TForm1& form);
  // Runs the posted work (watcher notifications), then `milliseconds` of timers.
  void Pump(std::uint64_t milliseconds);
  // Pumps in 50 ms steps until `form` has done one more tail load (at most `limitMs`); false
  // when it did not.
  bool PumpUntilReload(TForm1& form, std::uint64_t limitMs = 5000);

  headless::HeadlessToolkit& toolkit() { return toolkit_; }
  const std::vector<TForm1*>& Viewers() const { return open_; }

 private:
  headless::HeadlessToolkit toolkit_;
  ExtManager* store_ = nullptr;
  std::vector<TForm1*> open_;
  std::uintptr_t nextHostWindow_ = 100;
};

}  // namespace brontel::reliability
