/** @file TempFolder.h: a fresh folder for one test, removed with everything in it afterwards. */
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace brontel::app {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    do {
      path_ =
          std::filesystem::temp_directory_path() / ("brontel-app-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace brontel::app
