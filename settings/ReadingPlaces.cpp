#include "settings/ReadingPlaces.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "diagnostics/TraceLog.h"
#include "platform/PlatformError.h"
#include "platform/ProgramDirectory.h"
#include "platform/StateFile.h"
#include "platform/WholeFile.h"

namespace brontel {
namespace {

constexpr std::string_view kHeader = "brontel reading places 1";
constexpr std::string_view kFileName = "brontel.places";

// Fields are separated by tabs and values by spaces; these, line ends, "=" and "%" itself are
// written as "%" and two hexadecimal digits, so any path or value survives.
bool NeedsEscape(char c) {
  return c == '%' || c == '\t' || c == ' ' || c == '=' || c == '\r' || c == '\n' || c == '\0';
}

void AppendEscaped(std::string& out, std::string_view text) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    if (!NeedsEscape(c)) {
      out += c;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size())
      return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0)
      return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos)
      return parts;
    text.remove_prefix(at + 1);
  }
}

std::optional<ReadingPlace> ParsePlaceLine(std::string_view line) {
  const std::vector<std::string_view> fields = SplitAt(line, '\t');
  if (fields.size() != 4)
    return std::nullopt;
  ReadingPlace place;
  std::optional<std::string> path = Unescaped(fields[0]);
  std::optional<std::string> identity = Unescaped(fields[1]);
  const auto [end, error] =
      std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), place.size);
  if (!path || path->empty() || !identity || error != std::errc() ||
      end != fields[2].data() + fields[2].size())
    return std::nullopt;
  place.path = std::move(*path);
  place.identity = std::move(*identity);
  if (fields[3].empty())
    return place;
  for (const std::string_view pair : SplitAt(fields[3], ' ')) {
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos)
      return std::nullopt;
    std::optional<std::string> name = Unescaped(pair.substr(0, equals));
    std::optional<std::string> value = Unescaped(pair.substr(equals + 1));
    if (!name || name->empty() || !value)
      return std::nullopt;
    place.values[std::move(*name)] = std::move(*value);
  }
  return place;
}

std::string DirectoryPartOf(const std::string& path) {
  const std::size_t separator = path.find_last_of(std::string{'/', platform::PathSeparator(), ':'});
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

std::int64_t ReadingPlace::Number(const std::string& name, std::int64_t defaultValue) const {
  const auto found = values.find(name);
  if (found == values.end())
    return defaultValue;
  std::int64_t number = 0;
  const std::string& text = found->second;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() ? number : defaultValue;
}

void ReadingPlace::SetNumber(const std::string& name, std::int64_t value) {
  values[name] = std::to_string(value);
}

bool PlaceStillFits(const ReadingPlace& kept, std::string_view identity, std::uint64_t size) {
  const bool sameFile = kept.identity.empty() || identity.empty() || kept.identity == identity;
  return sameFile && size >= kept.size;
}

std::string FormatPlaces(const std::vector<ReadingPlace>& places) {
  std::string text(kHeader);
  text += '\n';
  for (const ReadingPlace& place : places) {
    AppendEscaped(text, place.path);
    text += '\t';
    AppendEscaped(text, place.identity);
    text += '\t';
    text += std::to_string(place.size);
    text += '\t';
    bool first = true;
    for (const auto& [name, value] : place.values) {
      if (!first)
        text += ' ';
      first = false;
      AppendEscaped(text, name);
      text += '=';
      AppendEscaped(text, value);
    }
    text += '\n';
  }
  return text;
}

std::optional<std::vector<ReadingPlace>> ParsePlaces(std::string_view text) {
  std::vector<std::string_view> lines = SplitAt(text, '\n');
  if (lines.empty() || lines.front() != kHeader)
    return std::nullopt;
  if (lines.back().empty())
    lines.pop_back();  // the line end after the last line
  std::vector<ReadingPlace> places;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::optional<ReadingPlace> place = ParsePlaceLine(lines[i]);
    if (!place)
      return std::nullopt;
    places.push_back(std::move(*place));
  }
  return places;
}

std::vector<ReadingPlace> ReadingPlaces::ReadPlaces() const {
  std::string text;
  try {
    text = platform::ReadWholeFile(statePath_);
  } catch (const platform::PlatformError&) {
    return {};  // none kept yet, or unreadable: the viewer opens as a new one
  }
  std::optional<std::vector<ReadingPlace>> places = ParsePlaces(text);
  if (places)
    return std::move(*places);
  const std::string aside = statePath_ + ".bad";
  const bool moved = platform::MoveFileAside(statePath_, aside);
  TraceLine("reading places",
            moved ? "not a state file of ours, moved aside to " + aside
                  : "not a state file of ours, and it cannot be moved: " + statePath_);
  return {};
}

std::optional<ReadingPlace> ReadingPlaces::PlaceFor(const std::string& path,
                                                    std::string_view identity,
                                                    std::uint64_t size) const {
  if (statePath_.empty())
    return std::nullopt;
  try {
    for (ReadingPlace& place : ReadPlaces()) {
      if (place.path == path)
        return PlaceStillFits(place, identity, size) ? std::optional(std::move(place))
                                                     : std::nullopt;
    }
  } catch (const std::exception& error) {
    TraceLine("reading places", error.what());
  }
  return std::nullopt;
}

void ReadingPlaces::Keep(const ReadingPlace& place) const {
  if (statePath_.empty())
    return;
  const std::unique_ptr<platform::FileLock> lock = platform::TakeFileLock(statePath_ + ".lock");
  if (!lock)
    throw platform::PlatformError(statePath_ + ".lock", "the lock could not be taken");
  std::vector<ReadingPlace> places = ReadPlaces();
  std::erase_if(places, [&](const ReadingPlace& kept) { return kept.path == place.path; });
  places.insert(places.begin(), place);
  if (places.size() > kMostPlaces)
    places.resize(kMostPlaces);
  platform::ReplaceFileContents(statePath_, FormatPlaces(places));
}

std::string ReadingPlacesPathBeside(const std::string& settingsPath) {
  if (settingsPath.empty())
    return {};
  return DirectoryPartOf(settingsPath) + std::string(kFileName);
}

}  // namespace brontel
