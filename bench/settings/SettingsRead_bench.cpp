// Every option read opens brontel.ini and scans it: how long one read takes on a 1 MB file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "platform/IniFile.h"
#include "settings/ConfigData.h"
#include "settings/ExtMgr.h"
#include "settings/SettingsFile.h"
#include "tests/support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

// A 1 MB settings file: many message-type sections, the options at the very end.
class MegabyteIni {
 public:
  MegabyteIni() {
    std::ofstream out(path_, std::ios::binary);
    std::size_t written = 0;
    for (int section = 0; written < (1u << 20); ++section) {
      const std::string header = "[MsgTypes." + std::to_string(section) + "]\r\n";
      out << header;
      written += header.size();
      for (int key = 0; key < 20; ++key) {
        const std::string line =
            "Expr" + std::to_string(key) + "=^\\d{4}-\\d{2}-\\d{2} .*(ERROR|FATAL).*$\r\n";
        out << line;
        written += line.size();
      }
    }
    out << "[Preferences]\r\nOptions.AutoFollowMode=1\r\nOptions.LastBufferSizeIndex=4\r\n";
  }
  const std::string& path() const { return path_; }

 private:
  brontel::testing::ScratchFolder folder_;
  std::string path_ = folder_.File("brontel.ini");
};

const MegabyteIni& File() {
  static const MegabyteIni file;
  return file;
}

void BM_IniReadLastKeyOfMegabyteFile(benchmark::State& state) {
  const std::string& path = File().path();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        brontel::platform::IniReadString(path, "Preferences", "Options.LastBufferSizeIndex", ""));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_IniReadLastKeyOfMegabyteFile)->Unit(benchmark::kMicrosecond);

void BM_StoreReadIntegerByKeyPath(benchmark::State& state) {
  brontel::SettingsFilePath() = File().path();
  brontel::ExtMgr store;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.ReadInteger("Options.LastBufferSizeIndex", 2));
  }
}
BENCHMARK(BM_StoreReadIntegerByKeyPath)->Unit(benchmark::kMicrosecond);

void BM_IniReadFirstSectionKey(benchmark::State& state) {
  const std::string& path = File().path();
  for (auto _ : state) {
    benchmark::DoNotOptimize(brontel::platform::IniReadString(path, "MsgTypes.0", "Expr0", ""));
  }
}
BENCHMARK(BM_IniReadFirstSectionKey)->Unit(benchmark::kMicrosecond);

void BM_LoadOptionsRecordFromMegabyteFile(benchmark::State& state) {
  brontel::SettingsFilePath() = File().path();
  brontel::ExtMgr store;
  for (auto _ : state) {
    brontel::ConfigData record;
    record.LoadFromSettings(store);
    benchmark::DoNotOptimize(record.LastBufferSizeIndex);
  }
}
BENCHMARK(BM_LoadOptionsRecordFromMegabyteFile)->Unit(benchmark::kMillisecond);

}  // namespace
