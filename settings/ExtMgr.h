/** @file ExtMgr.h: the extension manager and settings store, one per process. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "settings/ExtManager.h"
#include "templates/Templatehelpers.h"

namespace brontel {

// The settings store and extension manager. Every operation opens brontel.ini (at
// GetSettingsFilePath(), asked afresh each time), does one thing and closes it; nothing of the
// file is cached except the associations and templates that Load reads.
//
// Typical use by the other parts of the system:
//   ExtMgr& store = GetExtMgr();
//   const std::int32_t count = store.ReadInteger("MsgTypes\\Count", 0);
//   const bool follow = store.ReadBool("Options.AutoFollowMode", true);
//   store.WriteString("Layouts\\Layout0", "0|0|0|0|0|0|0|");   // may throw PlatformError
//   for (const std::string& key : store.ListKeys("EXT")) ...
//   store.EraseSection("MRU");
//
// Writes into the fallback location (SettingsFilePath() still empty) create its directory
// first; a write with no settings path at all raises PlatformError.
class ExtMgr : public ExtManager {
 public:
  // Extension with its leading dot, in lower case -> number; byte-wise key order.
  std::map<std::string, std::int32_t> Associations;
  TPLMAP Templates;

  // Extension rules: see ExtManager. Associations come from section EXT: each key whose
  // value is an integer of 0 or more, lower-cased; a later key replaces an equal earlier one.
  bool IsAssociated(const std::string& fileName, std::int32_t& number) override;
  std::string GetAssociationsText() override;
  void Load() override;
  std::string GetMruText() override;
  void SetMruText(const std::string& text) override;
  void Save() override;
  void WriteString(const std::string& keyPath, const std::string& value) override;
  void WriteInteger(const std::string& keyPath, std::int32_t value) override;
  void WriteFloat(const std::string& keyPath, double value) override;
  void SetTemplatesText(const std::string& text) override;
  // Lines end in CR, LF or CR LF. For each line: name := text before the first "|"; a line
  // named "editor" is skipped; number := the integer in the two characters after the "|" (x|105
  // gives 10), above 10 or below -1 becoming -1; names with a number of 0 or more form the new
  // map (not lower-cased). A non-empty new map replaces Associations and is saved. A line
  // without a valid number (no "|" included) ends the call without any change.
  void SetAssociationsText(const std::string& text) override;
  std::string ReadString(const std::string& keyPath, const std::string& defaultValue) override;
  std::int32_t ReadInteger(const std::string& keyPath, std::int32_t defaultValue) override;
  double ReadFloat(const std::string& keyPath, double defaultValue) override;
  std::string GetTemplatesText() override;
  ~ExtMgr() override = default;
  void WriteStrings(const std::vector<std::pair<std::string, std::string>>& values) override;
  void UseAssociations(const std::map<std::string, std::int32_t>& associations) override;
  // Beside the settings file: its folder + "brontel.places".
  std::string ReadingPlacesPath() override;

  // The key-path operations on components already split (SplitKeyPath).
  virtual void WritePathString(const std::vector<std::string>& components,
                               const std::string& value);
  virtual void WritePathInteger(const std::vector<std::string>& components, std::int32_t value);
  virtual void WritePathFloat(const std::vector<std::string>& components, double value);
  virtual std::string ReadPathString(const std::vector<std::string>& components,
                                     const std::string& defaultValue);
  virtual std::int32_t ReadPathInteger(const std::vector<std::string>& components,
                                       std::int32_t defaultValue);
  virtual double ReadPathFloat(const std::vector<std::string>& components, double defaultValue);

  // Section-level access by section name (not a key path); see platform/IniFile.h.
  std::vector<std::string> ListKeys(const std::string& section);
  std::vector<platform::IniEntry> ListEntries(const std::string& section);
  void EraseSection(const std::string& section);  // may throw PlatformError
  bool SettingsFileExists();
};

// The process-wide store: created and loaded on the first call, never destroyed.
ExtMgr& GetExtMgr();

}  // namespace brontel
