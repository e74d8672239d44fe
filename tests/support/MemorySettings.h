/** @file MemorySettings.h: a settings store kept in memory, which records what it is asked. */
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/IniFileNumbers.h"
#include "settings/ExtManager.h"

namespace brontel::testing {

// Values by key path, exactly as written; numbers in the text forms of the settings file. Every
// key-path operation is logged in order, as "R key" or "W key=value". The associations, the
// recent entries and the templates are inert: derived stores give them the behaviour a test
// needs.
class MemorySettings : public ExtManager {
 public:
  std::map<std::string, std::string> values;
  std::vector<std::string> log;
  // When set, writing this key path throws, as a refused file write does.
  std::string failingWrite;
  // Where viewers of this store keep their reading places; empty (the default): nowhere.
  std::string readingPlacesPath;

  bool IsAssociated(const std::string&, std::int32_t&) override { return false; }
  std::string GetAssociationsText() override { return {}; }
  void Load() override {}
  std::string GetMruText() override { return {}; }
  void SetMruText(const std::string&) override {}
  void Save() override {}
  std::string ReadingPlacesPath() override { return readingPlacesPath; }
  void WriteString(const std::string& keyPath, const std::string& value) override {
    log.push_back("W " + keyPath + "=" + value);
    if (keyPath == failingWrite)
      throw std::runtime_error("refused");
    values[keyPath] = value;
  }
  void WriteInteger(const std::string& keyPath, std::int32_t value) override {
    WriteString(keyPath, std::to_string(value));
  }
  void WriteFloat(const std::string& keyPath, double value) override {
    WriteString(keyPath, platform::FormatIniFloat(value));
  }
  void SetTemplatesText(const std::string&) override {}
  void SetAssociationsText(const std::string&) override {}
  std::string ReadString(const std::string& keyPath, const std::string& defaultValue) override {
    log.push_back("R " + keyPath);
    const auto found = values.find(keyPath);
    return found == values.end() ? defaultValue : found->second;
  }
  std::int32_t ReadInteger(const std::string& keyPath, std::int32_t defaultValue) override {
    return platform::ParseIniInteger(ReadString(keyPath, "")).value_or(defaultValue);
  }
  double ReadFloat(const std::string& keyPath, double defaultValue) override {
    return platform::ParseIniFloat(ReadString(keyPath, "")).value_or(defaultValue);
  }
  std::string GetTemplatesText() override { return {}; }
};

}  // namespace brontel::testing
