/** @file KeptPlace.h: what a viewer keeps of its log when it closes, and takes up again. */
#pragma once

#include <optional>
#include <string>

#include "settings/ExtManager.h"
#include "settings/ReadingPlaces.h"
#include "ui/TRAHLEditor.h"
#include "viewer/ViewFilter.h"

namespace brontel {

// "Options.RememberPlaces": each log opens again where the reader left it (on by default).
inline constexpr const char* kRememberPlacesKey = "Options.RememberPlaces";
// Set (to anything) in a process whose viewers neither take up nor keep places: print runs.
inline constexpr const char* kNoPlacesVariable = "BRONTEL_NO_PLACES";

// A viewer's state as it is kept for its file.
struct ViewerPlace {
  ui::TRAHLEditor::ViewPlace view;
  // The start of the top row's line: rows move as a log grows (the tail moves on, the history
  // gains lines), the line stays what the reader was at.
  std::string topLine;
  bool following = true;  // auto follow was on and not paused: the place is the end anyway
  bool complete = false;
  ViewFilter filter;
  std::string types;  // the message types in use, as the status text names them
};

// The reading places beside the settings file of `store`, when the user keeps them and this
// process may; nullopt otherwise.
std::optional<ReadingPlaces> ReadingPlacesOf(ExtManager& store);

// The state kept for `path` when it still fits the file there now; never throws.
std::optional<ViewerPlace> TakeUpPlace(const ReadingPlaces& places, const std::string& path);

// Keeps `place` for `path` (with the file's identity and size as they are now). Throws
// platform::PlatformError when the state file cannot be written.
void KeepPlace(const ReadingPlaces& places, const std::string& path, std::uint64_t size,
               const ViewerPlace& place);

// The start of `view`'s line `row` as a place keeps it (empty for a row beyond the lines).
std::string TopLineOf(const ui::TRAHLEditor& view, int row);
// `place` moved with its top line to where that line is shown now: the nearest row to the kept
// one that begins with the kept text. Unchanged when the line is not shown any more (or no line
// was kept).
ui::TRAHLEditor::ViewPlace PlaceAtItsLine(const ViewerPlace& place, const ui::TRAHLEditor& view);

}  // namespace brontel
