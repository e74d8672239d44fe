/** @file ExtManager.h: the interface of the extension manager, which is also the settings store. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace brontel {

// The association table, the recent-entries list, the code templates and the key-path access
// to the settings file. The operations keep this order; ExtMgr implements them all.
//
// Key paths: names separated by backslashes, mapped to a section and a key of brontel.ini
// (settings/SettingsFile.h): "Options.Active" is key Options.Active in section Preferences,
// "MsgTypes\Count" is key Count in section MsgTypes, "A\B\C" is key B.C in section A.
//
// Reads never fail: a missing file, section, key or unparsable value gives the default. Writes
// go to the file at once and raise brontel::platform::PlatformError when the system refuses
// them. Booleans are integers 1 and 0 (ReadBool and WriteBool below); any non-zero value reads
// as true. Not thread-safe: used on the host's user-interface thread only.
class ExtManager {
 public:
  // True, with `number` set to the association's number, when the extension of `fileName`
  // (from its last "." after the last path separator or colon, lower-cased) is associated.
  // False, `number` unchanged, otherwise or on any failure.
  virtual bool IsAssociated(const std::string& fileName, std::int32_t& number) = 0;
  // Each association as extension "|" number CR, in key order.
  virtual std::string GetAssociationsText() = 0;
  // Reloads the associations, then the templates, from the settings file. Never throws.
  virtual void Load() = 0;
  // The non-empty recent entries, each followed by CR LF; empty without a settings file.
  virtual std::string GetMruText() = 0;
  // Replaces the recent entries by the lines of `text` (only when the file exists). Never throws.
  virtual void SetMruText(const std::string& text) = 0;
  // Writes the associations (section EXT, replaced as a whole), then the templates.
  virtual void Save() = 0;
  virtual void WriteString(const std::string& keyPath, const std::string& value) = 0;
  virtual void WriteInteger(const std::string& keyPath, std::int32_t value) = 0;
  virtual void WriteFloat(const std::string& keyPath, double value) = 0;
  // Replaces the templates from their text form, then saves (whatever the parse gave).
  virtual void SetTemplatesText(const std::string& text) = 0;
  // Replaces the associations from lines of name "|" number; see ExtMgr. Never throws.
  virtual void SetAssociationsText(const std::string& text) = 0;
  // At most 2047 characters of the value.
  virtual std::string ReadString(const std::string& keyPath, const std::string& defaultValue) = 0;
  // Decimal, or hexadecimal after "0x" or "$"; the default for anything else.
  virtual std::int32_t ReadInteger(const std::string& keyPath, std::int32_t defaultValue) = 0;
  virtual double ReadFloat(const std::string& keyPath, double defaultValue) = 0;
  // The templates in their text form.
  virtual std::string GetTemplatesText() = 0;
  virtual ~ExtManager() = default;

  // Writes every key path of `values` (key path, text), in order, at once: ExtMgr makes them
  // one rewrite of the file, all or nothing, read afresh under the writers' lock, so that
  // another process's keys written meanwhile stay. Raises as WriteString.
  virtual void WriteStrings(const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [keyPath, value] : values)
      WriteString(keyPath, value);
  }
  // Takes `associations` as the associations in memory, without the settings file: for a
  // settings file that could not be made.
  virtual void UseAssociations(const std::map<std::string, std::int32_t>& associations) {
    static_cast<void>(associations);
  }
  // The state file where the viewers of this store keep their reading places; empty: nowhere.
  virtual std::string ReadingPlacesPath() { return {}; }

  // Booleans through the integer operations: written as 1 or 0, any non-zero value is true.
  bool ReadBool(const std::string& keyPath, bool defaultValue) {
    return ReadInteger(keyPath, defaultValue ? 1 : 0) != 0;
  }
  void WriteBool(const std::string& keyPath, bool value) { WriteInteger(keyPath, value ? 1 : 0); }
};

}  // namespace brontel
