// brontel --demo: sets up a demo log and a fresh settings file in a temporary folder and prints
// what a viewer opening that log would load: its options and the extension associations.
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <string_view>

#include "platform/IniFile.h"
#include "settings/ConfigData.h"
#include "settings/ExtMgr.h"
#include "settings/SettingsFile.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDemoLog =
    "2024-05-01 10:00:00 INFO  service started\n"
    "2024-05-01 10:00:01 WARNING disk 91% full\n"
    "2024-05-01 10:00:02 ERROR connection refused\n"
    "2024-05-01 10:00:03 INFO  retrying\n";

fs::path CreateDemoFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder =
        fs::temp_directory_path() / ("brontel-demo-" + std::to_string(random()));
    if (fs::create_directory(folder))
      return folder;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

// A fresh settings file holds the two default associations, as the host's first start makes it.
void CreateSettingsFile(const std::string& path) {
  brontel::platform::IniWriteString(path, "EXT", ".log", "10");
  brontel::platform::IniWriteString(path, "EXT", ".", "10");
}

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

void PrintOptions(const brontel::ConfigData& options) {
  std::cout << "Options a viewer loads:\n"
            << "  auto follow:           " << YesNo(options.AutoFollowMode) << "\n"
            << "  auto tail (active):    " << YesNo(options.Active) << "\n"
            << "  load complete file:    " << YesNo(options.LoadCompleteFile) << "\n"
            << "  auto cycle:            " << YesNo(options.AutoCycle) << "\n"
            << "  last cycle name:       \"" << options.LastCycleName << "\"\n"
            << "  buffer size index:     " << options.LastBufferSizeIndex << "\n"
            << "  history lines index:   " << options.LastHistMaxLinesIndex << "\n"
            << "  stay on top:           " << YesNo(options.StayOnTop) << "\n"
            << "  window state:          " << options.WindowState << "\n"
            << "  last folder:           \"" << options.LastFolder << "\"\n"
            << "  associated extensions: \"" << options.AssociatedExts << "\"\n"
            << "  layouts:               " << options.LayoutCount << "\n"
            << "  column sets:           " << options.ColumnSetCount << "\n";
}

void PrintAssociations(brontel::ExtMgr& store, const fs::path& log) {
  std::cout << "Associations (extension = number):\n";
  for (const auto& [extension, number] : store.Associations) {
    std::cout << "  \"" << extension << "\" = " << number << "\n";
  }
  for (const fs::path& file : {log, log.parent_path() / "notes.txt"}) {
    std::int32_t number = 0;
    std::cout << "  " << file.filename().string() << ": "
              << (store.IsAssociated(file.string(), number) ? "shown" : "not shown") << "\n";
  }
}

int RunDemo() {
  const fs::path folder = CreateDemoFolder();
  const fs::path log = folder / "demo.log";
  std::ofstream(log, std::ios::binary) << kDemoLog;
  brontel::SettingsFilePath() = (folder / std::string(brontel::kSettingsFileName)).string();
  CreateSettingsFile(brontel::SettingsFilePath());

  brontel::ExtMgr& store = brontel::GetExtMgr();
  brontel::ConfigData options;
  options.LoadFromSettings(store);
  std::cout << "Demo log:      " << log.string() << "\n"
            << "Settings file: " << brontel::SettingsFilePath() << "\n\n";
  PrintOptions(options);
  std::cout << "\n";
  PrintAssociations(store, log);
  fs::remove_all(folder);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string_view(argv[1]) != "--demo") {
    std::cerr << "usage: brontel --demo\n";
    return 2;
  }
  try {
    return RunDemo();
  } catch (const std::exception& error) {
    std::cerr << "brontel: " << error.what() << "\n";
    return 1;
  }
}
