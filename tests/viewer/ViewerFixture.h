/** @file ViewerFixture.h: a viewer window on the headless shell over a real temporary log. */
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "settings/ExtManager.h"
#include "shells/headless/HeadlessToolkit.h"
#include "viewer/TForm1.h"

namespace brontel::testing {

// Settings by key path, kept in memory; the viewer's writes land here too.
class ViewerStore : public ExtManager {
 public:
  std::map<std::string, std::string> values;

  bool IsAssociated(const std::string&, std::int32_t&) override { return false; }
  std::string GetAssociationsText() override { return {}; }
  void Load() override {}
  std::string GetMruText() override { return {}; }
  void SetMruText(const std::string&) override {}
  void Save() override {}
  void WriteString(const std::string& key, const std::string& value) override {
    values[key] = value;
  }
  void WriteInteger(const std::string& key, std::int32_t value) override {
    values[key] = std::to_string(value);
  }
  void WriteFloat(const std::string& key, double value) override {
    values[key] = std::to_string(value);
  }
  void SetTemplatesText(const std::string&) override {}
  void SetAssociationsText(const std::string&) override {}
  std::string ReadString(const std::string& key, const std::string& fallback) override {
    const auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
  }
  std::int32_t ReadInteger(const std::string& key, std::int32_t fallback) override {
    const auto found = values.find(key);
    if (found == values.end())
      return fallback;
    try {
      return std::stoi(found->second);
    } catch (...) {
      return fallback;
    }
  }
  double ReadFloat(const std::string&, double fallback) override { return fallback; }
  std::string GetTemplatesText() override { return {}; }
};

// A temporary directory with a log in it, a headless toolkit and, once Open ran, a viewer.
class ViewerFixture : public ::testing::Test {
 protected:
  static constexpr std::uintptr_t kHostHandle = 77;

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() /
          (std::string("brontel-viewer-") + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    logPath = (dir / "app.log").string();
  }

  void TearDown() override {
    form.reset();
    toolkit.queuedPoster().RunPending();
    std::filesystem::remove_all(dir);
  }

  void Write(const std::string& file, const std::string& text, bool append = false) {
    std::ofstream out(file, append ? std::ios::binary | std::ios::app : std::ios::binary);
    out << text;
  }
  void Append(const std::string& text) { Write(logPath, text, true); }
  // Moves the file's last-write time on by `seconds`.
  void Touch(const std::string& file, int seconds) {
    const auto when = std::filesystem::last_write_time(file);
    std::filesystem::last_write_time(file, when + std::chrono::seconds(seconds));
  }

  // Builds the viewer the way the entry points do: constructor, FormCreate, FormShow.
  void Open(const std::string& file) {
    form = std::make_unique<TForm1>(toolkit, kHostHandle, file, store,
                                    platform::SystemDirectoryChangeSource());
    form->FormCreate();
    form->FormShow();
  }
  void Open() { Open(logPath); }

  void Advance(std::uint64_t ms) { toolkit.clock().Advance(ms); }
  headless::RecordingHostWindow& host() { return toolkit.Host(kHostHandle); }
  std::string Line(std::size_t i) { return std::string(form->editor().Line(i)); }
  std::string LastLine() { return Line(form->editor().LineCount() - 1); }

  headless::HeadlessToolkit toolkit;
  ViewerStore store;
  std::filesystem::path dir;
  std::string logPath;
  std::unique_ptr<TForm1> form;
};

}  // namespace brontel::testing
