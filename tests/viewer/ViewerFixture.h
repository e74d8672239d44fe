/** @file ViewerFixture.h: a viewer window on the headless shell over a real log. */
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "shells/headless/HeadlessToolkit.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/ScratchFolder.h"
#include "viewer/TForm1.h"

namespace brontel::testing {

// A scratch folder for a log, a headless toolkit and, once Open ran, a viewer.
class ViewerFixture : public ::testing::Test {
 protected:
  static constexpr std::uintptr_t kHostHandle = 77;

  void TearDown() override {
    form.reset();
    toolkit.queuedPoster().RunPending();
  }

  void Write(const std::string& file, const std::string& text) { folder.Write(file, text); }
  void Append(const std::string& text) { folder.Append(logPath, text); }
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
  MemorySettings store;
  ScratchFolder folder;
  std::string logPath = folder.File("app.log");
  std::unique_ptr<TForm1> form;
};

}  // namespace brontel::testing
