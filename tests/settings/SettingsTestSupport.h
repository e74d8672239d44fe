/** @file SettingsTestSupport.h: a scratch settings file per test, and a recording store. */
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/IniFileNumbers.h"
#include "settings/ExtManager.h"
#include "settings/SettingsFile.h"

namespace brontel::testing {

// Points SettingsFilePath() at brontel.ini in a fresh directory for the test's duration.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("brontel_settings_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "brontel.ini").string();
    SettingsFilePath() = path_;
  }
  void TearDown() override {
    SettingsFilePath().clear();
    std::filesystem::remove_all(dir_);
  }

  void Put(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Bytes() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
  std::string path_;
};

// An in-memory store that records every key-path operation in order, as "R key" or
// "W key=value". Values are kept by key path exactly as written.
class RecordingStore : public ExtManager {
 public:
  std::map<std::string, std::string> values;
  std::vector<std::string> log;
  // When set, writing this key path throws, as a refused file write does.
  std::string failingWrite;

  bool IsAssociated(const std::string&, std::int32_t&) override { return false; }
  std::string GetAssociationsText() override { return {}; }
  void Load() override {}
  std::string GetMruText() override { return {}; }
  void SetMruText(const std::string&) override {}
  void Save() override {}
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
