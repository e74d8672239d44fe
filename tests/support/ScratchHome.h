/** @file ScratchHome.h: a scratch configuration folder for a whole test program. */
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "tests/support/ScratchFolder.h"

namespace brontel::testing {

// Keeps the timing log and the fallback settings out of the user's configuration folder: while
// the tests run, XDG_CONFIG_HOME names a scratch folder (on Windows they go beside the test
// program). A program registers it once with ::testing::AddGlobalTestEnvironment.
class ScratchHome : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<ScratchFolder>();
#ifndef _WIN32
    ::setenv("XDG_CONFIG_HOME", folder_->Path().c_str(), 1);
#endif
  }
  void TearDown() override {
    folder_.reset();
  }

  const ScratchFolder& Folder() const {
    return *folder_;
  }

 private:
  std::unique_ptr<ScratchFolder> folder_;
};

}  // namespace brontel::testing
