#include "viewer/KeptPlace.h"

#include <algorithm>
#include <cstdlib>

#include "platform/FileFacts.h"
#include "platform/StateFile.h"

namespace brontel {
namespace {

// Enough of a log line to tell it from the others (its time stamp and the start of its text).
constexpr std::size_t kTopLineBytes = 200;
// How far from the kept row its line is looked for, each way: a tail view whole, and in a
// complete view more than the history block can grow by.
constexpr int kRowsLookedAt = 20000;

bool ShowsLine(const ui::TRAHLEditor& view, int row, std::string_view kept) {
  const std::string_view line = view.Line(static_cast<std::size_t>(row));
  // A kept text shorter than the limit is the whole line.
  return kept.size() < kTopLineBytes ? line == kept : line.starts_with(kept);
}

int Clamped(std::int64_t value, int low, int high) {
  return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

int Row(const ReadingPlace& kept, const std::string& name) {
  return Clamped(kept.Number(name, 0), 0, 1 << 30);
}

std::string Value(const ReadingPlace& kept, const std::string& name) {
  const auto found = kept.values.find(name);
  return found == kept.values.end() ? std::string() : found->second;
}

}  // namespace

std::optional<ReadingPlaces> ReadingPlacesOf(ExtManager& store) {
  if (std::getenv(kNoPlacesVariable) != nullptr || !store.ReadBool(kRememberPlacesKey, true))
    return std::nullopt;
  const std::string path = store.ReadingPlacesPath();
  if (path.empty())
    return std::nullopt;
  return ReadingPlaces(path);
}

std::optional<ViewerPlace> TakeUpPlace(const ReadingPlaces& places, const std::string& path) {
  const std::optional<platform::FileFacts> facts = platform::FindFileFacts(path);
  if (!facts || facts->isDirectory)
    return std::nullopt;
  const std::optional<ReadingPlace> kept =
      places.PlaceFor(path, platform::FileIdentityOf(path), facts->size);
  if (!kept)
    return std::nullopt;
  ViewerPlace place;
  place.view.topRow = Row(*kept, "top");
  place.topLine = Value(*kept, "top.line");
  place.view.leftCol = Row(*kept, "left");
  place.view.caretRow = Row(*kept, "caret.row");
  place.view.caretCol = Row(*kept, "caret.col");
  place.following = kept->Number("follow", 1) != 0;
  place.complete = kept->Number("complete", 0) != 0;
  place.filter.types = SplitTypeNames(Value(*kept, "filter.types"));
  place.filter.expression = Value(*kept, "filter.expression");
  place.filter.hideMatching = kept->Number("filter.hide", 0) != 0;
  place.filter.ignoreCase = kept->Number("filter.ignorecase", 0) != 0;
  place.filter.context = Clamped(kept->Number("filter.context", 0), 0, kMaxFilterContext);
  place.types = Value(*kept, "types");
  return place;
}

void KeepPlace(const ReadingPlaces& places, const std::string& path, std::uint64_t size,
               const ViewerPlace& place) {
  ReadingPlace kept;
  kept.path = path;
  kept.identity = platform::FileIdentityOf(path);
  kept.size = size;
  kept.SetNumber("top", place.view.topRow);
  if (!place.topLine.empty())
    kept.values["top.line"] = place.topLine;
  kept.SetNumber("left", place.view.leftCol);
  kept.SetNumber("caret.row", place.view.caretRow);
  kept.SetNumber("caret.col", place.view.caretCol);
  kept.SetNumber("follow", place.following ? 1 : 0);
  kept.SetNumber("complete", place.complete ? 1 : 0);
  if (place.filter.Active()) {
    kept.values["filter.types"] = JoinTypeNames(place.filter.types);
    kept.values["filter.expression"] = place.filter.expression;
    kept.SetNumber("filter.hide", place.filter.hideMatching ? 1 : 0);
    kept.SetNumber("filter.ignorecase", place.filter.ignoreCase ? 1 : 0);
    kept.SetNumber("filter.context", place.filter.context);
  }
  if (!place.types.empty())
    kept.values["types"] = place.types;
  places.Keep(kept);
}

std::string TopLineOf(const ui::TRAHLEditor& view, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= view.LineCount())
    return {};
  const std::string_view line = view.Line(static_cast<std::size_t>(row));
  return std::string(line.substr(0, kTopLineBytes));
}

ui::TRAHLEditor::ViewPlace PlaceAtItsLine(const ViewerPlace& place, const ui::TRAHLEditor& view) {
  ui::TRAHLEditor::ViewPlace moved = place.view;
  const int rows = static_cast<int>(view.LineCount());
  if (place.topLine.empty() || rows == 0)
    return moved;
  const int kept = std::min(place.view.topRow, rows - 1);
  for (int distance = 0; distance <= kRowsLookedAt; ++distance) {
    for (const int row : {kept - distance, kept + distance}) {
      if (row < 0 || row >= rows || !ShowsLine(view, row, place.topLine))
        continue;
      const int shift = row - place.view.topRow;
      moved.topRow += shift;
      moved.caretRow = std::max(0, moved.caretRow + shift);
      moved.anchorRow = std::max(0, moved.anchorRow + shift);
      return moved;
    }
    if (kept - distance < 0 && kept + distance >= rows)
      break;
  }
  return moved;
}

}  // namespace brontel
