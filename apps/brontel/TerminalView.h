/** @file TerminalView.h: a viewer's status text and lines written to a terminal. */
#pragma once

#include <ostream>

#include "viewer/TForm1.h"

namespace brontel::app {

struct TerminalViewOptions {
  bool ansi = false;          // colour each line from its line attributes (24-bit escapes)
  bool status = false;        // the status text first
  std::size_t lastLines = 0;  // only the last this many lines; 0 = all
};

// Writes the view's lines as the text view holds them (tabs already three blanks), one per line.
void WriteView(TForm1& viewer, const TerminalViewOptions& options, std::ostream& out);

}  // namespace brontel::app
