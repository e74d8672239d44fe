/** @file HeadlessViewer.h: one viewer behind the entry points, on the headless toolkit. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/ListerPlugin.h"
#include "shells/headless/HeadlessToolkit.h"
#include "viewer/TForm1.h"
#include "viewer/TForm1Factory.h"

namespace brontel::app {

enum class OpenResult {
  Shown,
  NotAssociated,    // the extension is not associated and the force-show bit was not given
  Declined,         // the entry points made no viewer
  NoSettingsFolder  // the settings folder could not be created
};

// Runs one viewer as the module does: the default-parameters record names a settings file in
// the given folder (so a missing brontel.ini there is created with the default associations),
// then ListLoad, with the force-show bit when asked. Its timers run on a clock that this object
// advances; a watcher's notifications wait until the next advance.
//
// The viewer is never closed through the entry points: closing would save its options, and a
// run of this program leaves the settings as it found them (apart from creating them). It is
// freed with this object.
//
// Threads: one thread, the one that made the object.
class HeadlessViewer {
 public:
  HeadlessViewer();
  ~HeadlessViewer();
  HeadlessViewer(const HeadlessViewer&) = delete;
  HeadlessViewer& operator=(const HeadlessViewer&) = delete;

  // `settingsFolder` is created when missing. At most one viewer per object.
  OpenResult Open(const std::string& file, const std::string& settingsFolder, bool force);

  // Runs the waiting work and advances the viewer's timers by `milliseconds`.
  void Advance(std::uint64_t milliseconds);
  // Advances in steps of the reload timer's first interval until its first tick has run (a
  // tail load, or none while the complete view that saved options asked for stands); false when
  // it did not come within a few virtual seconds.
  bool RunUntilFirstTick();
  // Checks "Load complete" as a user would: the view then holds the complete load.
  void LoadComplete();

  // REQUIRES: Open answered Shown.
  TForm1& viewer() { return *viewer_; }
  std::uint64_t TailLoads() const { return viewer_ ? viewer_->TailLoads() : 0; }

 private:
  headless::HeadlessToolkit toolkit_;
  TForm1Factory factory_;
  ListerPlugin plugin_;
  TForm1* viewer_ = nullptr;
};

}  // namespace brontel::app
