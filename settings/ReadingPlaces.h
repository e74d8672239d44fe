/** @file ReadingPlaces.h: where the reader was in each log, kept from one viewer to the next. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brontel {

// What a viewer kept of one file when it closed. Besides the file's path, identity and size,
// the viewer's own values by name (place, modes, filter); names and values are any text.
struct ReadingPlace {
  std::string path;
  std::string identity;  // platform::FileIdentityOf(path) then; empty where the system has none
  std::uint64_t size = 0;
  std::map<std::string, std::string> values;

  std::int64_t Number(const std::string& name, std::int64_t defaultValue) const;
  void SetNumber(const std::string& name, std::int64_t value);

  bool operator==(const ReadingPlace&) const = default;
};

// Whether a place kept for a file still describes the file found at its path now: the same
// file (by identity, where both are known) and not shorter than it was. A truncated or
// replaced log starts as a new one.
bool PlaceStillFits(const ReadingPlace& kept, std::string_view identity, std::uint64_t size);

// The state file's text: a header line, then one line per file, the most recent first.
std::string FormatPlaces(const std::vector<ReadingPlace>& places);
// The places of a state file's text; nullopt when it is not one (damaged or foreign).
std::optional<std::vector<ReadingPlace>> ParsePlaces(std::string_view text);

// The reading places of every log viewed, in a state file of their own. Each call reads the
// file afresh; a keep is a read, an edit and a replace of the whole file under a lock beside it,
// so viewers closing at once in several processes each keep their own file. A damaged or
// foreign state file is moved aside (its name + ".bad", said in the trace log) and a fresh one
// started. UI thread; never keeps a viewer from opening.
class ReadingPlaces {
 public:
  // The files kept at most: the least recently kept go first.
  static constexpr std::size_t kMostPlaces = 500;

  explicit ReadingPlaces(std::string statePath) : statePath_(std::move(statePath)) {}

  // The place kept for `path` when it still fits the file now (PlaceStillFits); never throws.
  std::optional<ReadingPlace> PlaceFor(const std::string& path, std::string_view identity,
                                       std::uint64_t size) const;
  // Keeps `place` as the most recent one, replacing what was kept for its path. Throws
  // platform::PlatformError when the state file cannot be written or its lock not taken.
  void Keep(const ReadingPlace& place) const;

  const std::string& StatePath() const { return statePath_; }

 private:
  std::vector<ReadingPlace> ReadPlaces() const;

  std::string statePath_;
};

// The state file beside `settingsPath` (brontel.ini): its folder + "brontel.places"; empty for
// an empty settings path.
std::string ReadingPlacesPathBeside(const std::string& settingsPath);

}  // namespace brontel
