/** @file ViewCheck.h: checks of live views against what their files say they must show. */
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace brontel {
class TForm1;
}

namespace brontel::reliability {

using Lines = std::vector<std::string>;

// The view's lines between separator and footer, as the view keeps them (tabs widened).
Lines ShownTailLines(TForm1& form);

// History block equal to the history, separator and footer with the current counts, footer
// count equal to the tail lines shown. Holds at any moment between two loads.
::testing::AssertionResult ViewIsWellFormed(TForm1& form);

// Well formed, and its tail lines are exactly those of a file holding `bytes` (tabs widened as
// the view does).
::testing::AssertionResult ViewMatchesFile(TForm1& form, std::string_view bytes);

// For a log that only grows, with its writer still running: the view's tail lines are exactly
// those of the stretch of the file the last load read, from the start offset its snapshot gave
// to where its reading ended. `readEnd` tells where that was.
::testing::AssertionResult ViewMatchesWhatTheLoadRead(TForm1& form, const std::string& path,
                                                      std::uint64_t& readEnd);

// Remembers every line of a counted type that any view of one viewer showed, and tells whether
// the history still holds them all. Meant for a history without limit and lines without tabs.
class HistoryWitness {
 public:
  void Saw(TForm1& form);
  ::testing::AssertionResult NothingLost(TForm1& form) const;
  std::size_t Seen() const { return seen_.size(); }

 private:
  std::set<std::string> seen_;
};

}  // namespace brontel::reliability
