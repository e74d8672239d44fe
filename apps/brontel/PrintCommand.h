/** @file PrintCommand.h: brontel --print: a viewer's view written to standard output. */
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

#include "viewer/ViewFilter.h"

namespace brontel::app {

struct PrintRequest {
  std::string file;
  std::string settingsFolder;  // empty: the configuration folder
  bool ansi = false;
  bool status = false;
  bool complete = false;
  bool force = false;
  bool follow = false;               // print again after every reload
  bool redraw = false;               // with follow: clear the terminal before each view
  int seconds = 0;                   // with follow: stop after this long; 0 = never
  std::size_t lastLines = 0;         // only the last this many lines of each view; 0 = all
  std::optional<ViewFilter> filter;  // in place of the one brontel.ini keeps
};

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitNotAssociated = 2;

// Opens the viewer, runs it until its first reload tick (or, with `complete`, until the
// complete view stands) and writes the view; with `follow`, goes on and writes it again after
// every reload, views apart by a form-feed line (or a cleared screen with `redraw`). Failures
// go to `err` as one line; the result is the exit code (kExitNotAssociated also for a filter
// the viewer refuses).
int RunPrint(const PrintRequest& request, std::ostream& out, std::ostream& err);

}  // namespace brontel::app
