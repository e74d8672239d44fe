/** @file MemoryStore.h: an in-memory settings store for the message-type tests. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "classify/SymbolColor.h"
#include "settings/ExtManager.h"

namespace brontel::testing {

// Holds values by key path; reads record their key paths in order. Integers are read with the
// colour-text integer syntax, which is close enough to the real store's for these tests.
class MemoryStore : public ExtManager {
 public:
  std::map<std::string, std::string> values;
  std::vector<std::string> reads;
  int writes = 0;

  void Set(const std::string& keyPath, const std::string& value) { values[keyPath] = value; }

  bool IsAssociated(const std::string&, std::int32_t&) override { return false; }
  std::string GetAssociationsText() override { return {}; }
  void Load() override {}
  std::string GetMruText() override { return {}; }
  void SetMruText(const std::string&) override {}
  void Save() override {}
  void WriteString(const std::string&, const std::string&) override { ++writes; }
  void WriteInteger(const std::string&, std::int32_t) override { ++writes; }
  void WriteFloat(const std::string&, double) override { ++writes; }
  void SetTemplatesText(const std::string&) override {}
  void SetAssociationsText(const std::string&) override {}
  std::string ReadString(const std::string& keyPath, const std::string& defaultValue) override {
    reads.push_back(keyPath);
    const auto found = values.find(keyPath);
    return found == values.end() ? defaultValue : found->second;
  }
  std::int32_t ReadInteger(const std::string& keyPath, std::int32_t defaultValue) override {
    return ParseIntegerText(ReadString(keyPath, "")).value_or(defaultValue);
  }
  double ReadFloat(const std::string&, double defaultValue) override { return defaultValue; }
  std::string GetTemplatesText() override { return {}; }
};

}  // namespace brontel::testing
