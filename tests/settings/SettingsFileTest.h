/** @file SettingsFileTest.h: a scratch settings file per test. */
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "settings/SettingsFile.h"
#include "tests/support/ScratchFolder.h"

namespace brontel::testing {

// Points SettingsFilePath() at brontel.ini in a fresh folder for the test's duration.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SettingsFilePath() = path_; }
  void TearDown() override { SettingsFilePath().clear(); }

  void Put(const std::string& bytes) const { folder_.Write(path_, bytes); }
  std::string Bytes() const { return folder_.Read(path_); }

  ScratchFolder folder_;
  std::string path_ = folder_.File("brontel.ini");
};

}  // namespace brontel::testing
