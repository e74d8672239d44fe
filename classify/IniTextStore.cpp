#include "classify/IniTextStore.h"

#include "platform/IniFile.h"
#include "settings/AsciiCase.h"
#include "settings/SettingsFile.h"

namespace brontel {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string_view WithoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = AsciiLower(c);
  return lower;
}

}  // namespace

IniTextStore::IniTextStore(std::string_view text) {
  std::string section;
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = Trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';')
      continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      section =
          Lower(Trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
      inSection = true;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos)
      continue;
    std::string_view value = WithoutQuotes(Trimmed(line.substr(equals + 1)));
    value = value.substr(0, platform::kIniValueMaxLength);
    entries_.push_back({section, Lower(Trimmed(line.substr(0, equals))), std::string(value)});
  }
}

std::string IniTextStore::ReadPathString(const std::vector<std::string>& components,
                                         const std::string& defaultValue) {
  const SettingsKey target = MapKeyPath(components);
  const std::string section = Lower(target.section);
  const std::string key = Lower(target.key);
  // The first section of the name holds the answer, as in the settings file.
  bool sectionSeen = false;
  for (const Entry& entry : entries_) {
    if (entry.section != section) {
      if (sectionSeen)
        break;
      continue;
    }
    sectionSeen = true;
    if (entry.key == key)
      return entry.value;
  }
  return defaultValue;
}

}  // namespace brontel
