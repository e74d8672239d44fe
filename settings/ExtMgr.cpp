#include "settings/ExtMgr.h"

#include <cctype>
#include <exception>
#include <optional>
#include <string_view>

#include "diagnostics/TraceLog.h"
#include "platform/IniFileNumbers.h"
#include "platform/PlatformError.h"
#include "platform/ProgramDirectory.h"
#include "platform/WholeFile.h"
#include "settings/ReadingPlaces.h"
#include "settings/SettingsFile.h"

namespace brontel {
namespace {

constexpr const char* kExtSection = "EXT";
constexpr const char* kMruSection = "MRU";
constexpr const char* kMruKeyPrefix = "Item";
constexpr const char* kEditorName = "editor";
constexpr std::int32_t kHighestTextNumber = 10;

// The locale's lower-casing of 8-bit text.
std::string LowerCase(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The extension with its dot, or empty when the last "." is not in the file-name part.
std::string ExtensionOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos)
    return {};
  const std::size_t separator = fileName.rfind(platform::PathSeparator());
  const std::size_t colon = fileName.rfind(':');
  if (separator != std::string::npos && separator > dot)
    return {};
  if (colon != std::string::npos && colon > dot)
    return {};
  return fileName.substr(dot);
}

// The path a write goes to; creates the fallback directory, which nothing else creates.
std::string PathForWriting() {
  const std::string path = GetSettingsFilePath();
  if (path.empty())
    throw platform::PlatformError("", "no location for the settings file");
  if (UsingFallbackSettingsPath()) {
    platform::EnsureDirectory(path.substr(0, path.size() - kSettingsFileName.size()));
  }
  return path;
}

// Parses SetAssociationsText's lines; empty optional when one of them has no valid number.
std::optional<std::map<std::string, std::int32_t>> ParseAssociationsText(std::string_view text) {
  std::map<std::string, std::int32_t> map;
  for (const std::string_view line : platform::LineViewsOf(text)) {
    const std::size_t bar = line.find('|');
    const std::string_view name = bar == std::string_view::npos ? "" : line.substr(0, bar);
    if (name == kEditorName)
      continue;
    if (bar == std::string_view::npos)
      return std::nullopt;
    std::optional<std::int32_t> number = platform::ParseIniInteger(line.substr(bar + 1, 2));
    if (!number)
      return std::nullopt;
    if (*number > kHighestTextNumber || *number < -1)
      number = -1;
    if (*number >= 0)
      map[std::string(name)] = *number;
  }
  return map;
}

}  // namespace

bool ExtMgr::IsAssociated(const std::string& fileName, std::int32_t& number) {
  try {
    const auto found = Associations.find(LowerCase(ExtensionOf(fileName)));
    if (found == Associations.end())
      return false;
    number = found->second;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string ExtMgr::GetAssociationsText() {
  std::string text;
  for (const auto& [extension, number] : Associations) {
    text += extension + "|" + std::to_string(number) + "\r";
  }
  return text;
}

void ExtMgr::Load() {
  try {
    Associations.clear();
    const std::string path = GetSettingsFilePath();
    if (platform::IniFileExists(path)) {
      for (const platform::IniEntry& entry : platform::IniReadEntries(path, kExtSection)) {
        const std::optional<std::int32_t> number =
            entry.value ? platform::ParseIniInteger(*entry.value) : std::nullopt;
        if (number && *number >= 0)
          Associations[LowerCase(entry.key)] = *number;
      }
    }
    LoadTemplates(path, Templates);
  } catch (const std::exception&) {
    // What was read so far stays; a broken settings file must not stop the host.
  }
}

std::string ExtMgr::GetMruText() {
  std::string text;
  try {
    const std::string path = GetSettingsFilePath();
    if (!platform::IniFileExists(path))
      return text;
    for (const platform::IniEntry& entry : platform::IniReadEntries(path, kMruSection)) {
      if (entry.value && !entry.value->empty())
        text += *entry.value + "\r\n";
    }
  } catch (const std::exception&) {
  }
  return text;
}

void ExtMgr::SetMruText(const std::string& text) {
  try {
    const std::string path = GetSettingsFilePath();
    if (!platform::IniFileExists(path))
      return;
    std::vector<platform::IniChange> changes;
    changes.push_back(platform::IniChange{kMruSection, "", "", true});
    std::size_t index = 0;
    for (const std::string_view line : platform::LineViewsOf(text)) {
      changes.push_back(platform::IniChange{kMruSection, kMruKeyPrefix + std::to_string(index++),
                                            std::string(line)});
    }
    platform::IniWriteChanges(path, changes);
  } catch (const std::exception&) {
  }
}

void ExtMgr::Save() {
  std::vector<platform::IniChange> changes;
  changes.push_back(platform::IniChange{kExtSection, "", "", true});
  for (const auto& [extension, number] : Associations)
    changes.push_back(platform::IniChange{kExtSection, extension, std::to_string(number)});
  AppendTemplateChanges(Templates, changes);
  platform::IniWriteChanges(PathForWriting(), changes);
}

void ExtMgr::WriteStrings(const std::vector<std::pair<std::string, std::string>>& values) {
  std::vector<platform::IniChange> changes;
  changes.reserve(values.size());
  for (const auto& [keyPath, value] : values) {
    SettingsKey target = MapKeyPath(SplitKeyPath(keyPath));
    changes.push_back(platform::IniChange{std::move(target.section), std::move(target.key), value});
  }
  platform::IniWriteChanges(PathForWriting(), changes);
}

void ExtMgr::UseAssociations(const std::map<std::string, std::int32_t>& associations) {
  Associations = associations;
}

void ExtMgr::WriteString(const std::string& keyPath, const std::string& value) {
  WritePathString(SplitKeyPath(keyPath), value);
}

void ExtMgr::WriteInteger(const std::string& keyPath, std::int32_t value) {
  WritePathInteger(SplitKeyPath(keyPath), value);
}

void ExtMgr::WriteFloat(const std::string& keyPath, double value) {
  WritePathFloat(SplitKeyPath(keyPath), value);
}

void ExtMgr::SetTemplatesText(const std::string& text) {
  TemplatesFromText(text, Templates);
  Save();
}

void ExtMgr::SetAssociationsText(const std::string& text) {
  try {
    std::optional<std::map<std::string, std::int32_t>> map = ParseAssociationsText(text);
    if (!map || map->empty())
      return;
    Associations = std::move(*map);
    Save();
  } catch (const std::exception&) {
  }
}

std::string ExtMgr::ReadString(const std::string& keyPath, const std::string& defaultValue) {
  return ReadPathString(SplitKeyPath(keyPath), defaultValue);
}

std::int32_t ExtMgr::ReadInteger(const std::string& keyPath, std::int32_t defaultValue) {
  return ReadPathInteger(SplitKeyPath(keyPath), defaultValue);
}

double ExtMgr::ReadFloat(const std::string& keyPath, double defaultValue) {
  return ReadPathFloat(SplitKeyPath(keyPath), defaultValue);
}

std::string ExtMgr::GetTemplatesText() {
  return TemplatesToText(Templates);
}

void ExtMgr::WritePathString(const std::vector<std::string>& components, const std::string& value) {
  const SettingsKey target = MapKeyPath(components);
  platform::IniWriteString(PathForWriting(), target.section, target.key, value);
}

void ExtMgr::WritePathInteger(const std::vector<std::string>& components, std::int32_t value) {
  WritePathString(components, std::to_string(value));
}

void ExtMgr::WritePathFloat(const std::vector<std::string>& components, double value) {
  WritePathString(components, platform::FormatIniFloat(value));
}

std::string ExtMgr::ReadPathString(const std::vector<std::string>& components,
                                   const std::string& defaultValue) {
  const SettingsKey target = MapKeyPath(components);
  bool cut = false;
  std::string value = platform::IniReadString(SettingsFilePathFor(target.section), target.section,
                                              target.key, defaultValue, &cut);
  if (cut) {
    TraceLine("settings", "[" + target.section + "] " + target.key + ": value longer than " +
                              std::to_string(platform::kIniValueMaxLength) +
                              " characters, read cut to that length");
  }
  return value;
}

std::int32_t ExtMgr::ReadPathInteger(const std::vector<std::string>& components,
                                     std::int32_t defaultValue) {
  return platform::ParseIniInteger(ReadPathString(components, "")).value_or(defaultValue);
}

double ExtMgr::ReadPathFloat(const std::vector<std::string>& components, double defaultValue) {
  return platform::ParseIniFloat(ReadPathString(components, "")).value_or(defaultValue);
}

std::vector<std::string> ExtMgr::ListKeys(const std::string& section) {
  return platform::IniReadKeys(GetSettingsFilePath(), section);
}

std::vector<platform::IniEntry> ExtMgr::ListEntries(const std::string& section) {
  return platform::IniReadEntries(GetSettingsFilePath(), section);
}

void ExtMgr::EraseSection(const std::string& section) {
  platform::IniEraseSection(PathForWriting(), section);
}

bool ExtMgr::SettingsFileExists() {
  return platform::IniFileExists(GetSettingsFilePath());
}

ExtMgr& GetExtMgr() {
  static ExtMgr* const store = [] {
    auto* created = new ExtMgr();
    created->Load();
    return created;
  }();
  return *store;
}

std::string ExtMgr::ReadingPlacesPath() {
  return ReadingPlacesPathBeside(GetSettingsFilePath());
}

}  // namespace brontel
