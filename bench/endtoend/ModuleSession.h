/** @file ModuleSession.h: a viewer opened through the loaded module, driven on real time. */
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/host/PluginHost.h"

namespace brontel::perf {

using Clock = std::chrono::steady_clock;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to);

// The options a measurement opens its viewer with (indices of the option tables).
struct ViewerOptions {
  bool completeLoad = false;
  bool autoTail = true;
  int bufferSizeIndex = 6;    // 1 MB
  int historyLimitIndex = 3;  // 100 000 lines
};

// A private settings directory (brontel.ini with the options, the program directory for the
// timing log) and one viewer on `log` in the module, as a host shows it. The module's timers
// run on the real clock: every Step() advances its clock by the real time since the last step.
class ModuleSession {
 public:
  ModuleSession(brontel::host::PluginHost& host, const std::filesystem::path& workDirectory);
  ~ModuleSession();
  ModuleSession(const ModuleSession&) = delete;
  ModuleSession& operator=(const ModuleSession&) = delete;

  // ListLoad with force-show; false when the module declined the file.
  bool Open(const std::filesystem::path& log, const ViewerOptions& options);
  void Close();

  // Runs posted work and the timers that fell due since the last step (on real time).
  void Step();
  // Advances the module's clock by `milliseconds` at once, whatever the real time.
  void Advance(std::uint64_t milliseconds);
  // Steps every `periodMs` for `milliseconds` of real time.
  void RunFor(double milliseconds, int periodMs = 1);
  std::int64_t TextLength();
  // ListSearchText; true when it found the pattern.
  bool Search(const char* pattern, int flags);
  void* Window() const { return window_; }

 private:
  brontel::host::PluginHost& host_;
  std::filesystem::path settings_;
  void* window_ = nullptr;
  Clock::time_point lastStep_;
};

// Appends `text` to `path` the way loggers do: open for appending, write, close.
void AppendToFile(const std::filesystem::path& path, const std::string& text);

// One log line of about 90 bytes, unique by `sequence`; `kind` is 'E', 'W' or 'I'.
std::string LogLine(char kind, std::uint64_t sequence);

}  // namespace brontel::perf
