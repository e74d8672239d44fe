/** @file SettingsFile.h: where brontel.ini lives, and how key paths name its values. */
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brontel {

// The file name of the settings file, wherever it lives.
inline constexpr std::string_view kSettingsFileName = "brontel.ini";
// The section of every key path that has a single component.
inline constexpr std::string_view kPreferencesSection = "Preferences";

// The process-wide settings-file path: empty when the module is loaded, set once by the entry
// point that receives the host's settings location (before any viewer exists). Not locked:
// touched only on the host's user-interface thread.
std::string& SettingsFilePath();

// SettingsFilePath() when set; otherwise the fallback WritableProgramDirectory() +
// "brontel.ini"; empty when neither is known. Every store operation asks afresh.
std::string GetSettingsFilePath();

// The environment variable that names a file of message types (a preset) to use instead of the
// ones in brontel.ini, for the processes that see it.
inline constexpr const char* kMsgTypesFileVariable = "BRONTEL_TYPES";

// The file that holds `section`: for the message-type sections ("MsgTypes" and "MsgTypes.*",
// letter case ignored) the file named by BRONTEL_TYPES when that is set and not empty;
// GetSettingsFilePath() for every other section, and for these without the variable.
std::string SettingsFilePathFor(std::string_view section);

// True while GetSettingsFilePath() answers the fallback, whose directory may still be missing.
bool UsingFallbackSettingsPath();

// The components of a key path: split at every backslash, left to right. An empty component
// between two backslashes counts; one empty component after a final backslash is dropped. After
// each backslash only the next 9999 characters take part in the further splitting. Always at
// least one component ("" gives one empty component).
std::vector<std::string> SplitKeyPath(std::string_view keyPath);

// Where a key path's value lives in the file.
struct SettingsKey {
  std::string section;
  std::string key;

  bool operator==(const SettingsKey&) const = default;
};

// One component: section "Preferences", key = the component. Two or more: section = the first,
// key = the others joined with ".". No components: section "Preferences", empty key.
SettingsKey MapKeyPath(const std::vector<std::string>& components);

}  // namespace brontel
