#include "bench/endtoend/ModuleSession.h"

#include <fcntl.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace brontel::perf {

namespace fs = std::filesystem;

namespace {

void* const kParentWindow = reinterpret_cast<void*>(0x4711);

void WriteSettings(const fs::path& file, const ViewerOptions& options) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << "[Preferences]\n"
      << "Options.LoadCompleteFile=" << (options.completeLoad ? 1 : 0) << "\n"
      << "Options.Active=" << (options.autoTail ? 1 : 0) << "\n"
      << "Options.AutoFollowMode=1\n"
      << "Options.LastBufferSizeIndex=" << options.bufferSizeIndex << "\n"
      << "Options.LastHistMaxLinesIndex=" << options.historyLimitIndex << "\n";
  if (!out)
    throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

ModuleSession::ModuleSession(brontel::host::PluginHost& host, const fs::path& workDirectory)
    : host_(host), settings_(workDirectory / "settings"), lastStep_(Clock::now()) {
  fs::create_directories(settings_);
  // The timing log goes to the program directory; keep it out of the user's one.
  ::setenv("XDG_CONFIG_HOME", settings_.c_str(), 1);
}

ModuleSession::~ModuleSession() {
  Close();
}

bool ModuleSession::Open(const fs::path& log, const ViewerOptions& options) {
  WriteSettings(settings_ / "brontel.ini", options);
  host_.ListSetDefaultParams((settings_ / "host.ini").string());
  lastStep_ = Clock::now();
  window_ = host_.ListLoad(kParentWindow, log.c_str(), kForceShow);
  return window_ != nullptr;
}

void ModuleSession::Close() {
  if (window_ == nullptr)
    return;
  host_.ListCloseWindow(window_);
  host_.RunMessageLoop(0);
  window_ = nullptr;
}

void ModuleSession::Step() {
  const Clock::time_point now = Clock::now();
  const auto whole = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastStep_);
  // Whole milliseconds only; the rest is carried into the next step.
  lastStep_ += whole;
  host_.RunMessageLoop(static_cast<std::uint64_t>(whole.count()));
}

void ModuleSession::Advance(std::uint64_t milliseconds) {
  host_.RunMessageLoop(milliseconds);
  lastStep_ = Clock::now();
}

void ModuleSession::RunFor(double milliseconds, int periodMs) {
  const Clock::time_point end =
      Clock::now() + std::chrono::microseconds(static_cast<std::int64_t>(milliseconds * 1000));
  while (Clock::now() < end) {
    Step();
    std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
  }
}

std::int64_t ModuleSession::TextLength() {
  return host_.SelectionOf(window_).textLength;
}

bool ModuleSession::Search(const char* pattern, int flags) {
  return host_.ListSearchText(window_, pattern, flags) == 0;
}

void AppendToFile(const fs::path& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
  if (fd < 0)
    throw std::runtime_error("cannot append to " + path.string());
  const bool complete = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  if (!complete)
    throw std::runtime_error("short write to " + path.string());
}

std::string LogLine(char kind, std::uint64_t sequence) {
  static constexpr const char* kTexts[] = {
      "handled GET /api/v2/orders for client 10.0.4.17 in 12 ms",
      "connection to db-2 lost: timeout after 3000 ms, retrying",
      "slow query on table orders took 812 ms (limit 500 ms)",
  };
  const char* text = kind == 'E' ? kTexts[1] : kind == 'W' ? kTexts[2] : kTexts[0];
  char line[160];
  std::snprintf(line, sizeof line, "%c\t2026-12-09 04:00:00.000 [http-03] #%08" PRIu64 " %s\n",
                kind, sequence, text);
  return line;
}

}  // namespace brontel::perf
