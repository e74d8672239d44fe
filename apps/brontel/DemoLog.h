/** @file DemoLog.h: a log that grows like a busy service's, for showing the viewer at work. */
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

namespace brontel::app {

// Realistic log lines: mostly plain ones, with error ("E"), warning ("W") and urgent ("U")
// markers and the odd FAILED in between. The same seed gives the same lines.
class DemoLineSource {
 public:
  DemoLineSource(std::uint32_t seed, std::uint64_t firstLine)
      : random_(seed), sequence_(firstLine) {}
  std::string Next();

 private:
  std::mt19937 random_;
  std::uint64_t sequence_;
};

// Appends a few lines to `path` every `periodMs` milliseconds on a thread of its own, until
// destroyed. Opens, appends and closes for each batch, as many loggers do.
class DemoWriter {
 public:
  DemoWriter(std::filesystem::path path, int periodMs, std::uint64_t firstLine);
  ~DemoWriter();
  DemoWriter(const DemoWriter&) = delete;
  DemoWriter& operator=(const DemoWriter&) = delete;

 private:
  void Run();

  std::filesystem::path path_;
  int periodMs_;
  std::uint64_t firstLine_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Writes `lines` lines to a new file at `path`; the writer goes on after them.
void WriteDemoLog(const std::filesystem::path& path, int lines);

// A new folder of its own under the system's temporary folder, holding the demo log with its
// first lines; removed with everything in it when the object goes. Throws std::runtime_error
// when no folder can be made.
class DemoFolder {
 public:
  static constexpr int kFirstLines = 60;

  DemoFolder();
  ~DemoFolder();
  DemoFolder(const DemoFolder&) = delete;
  DemoFolder& operator=(const DemoFolder&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path log() const { return folder_ / "demo.log"; }

 private:
  std::filesystem::path folder_;
};

}  // namespace brontel::app
