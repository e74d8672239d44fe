#include "diagnostics/Debugtimer.h"

#include <cstdio>
#include <fstream>

#include "diagnostics/TraceLog.h"
#include "platform/LocaleTexts.h"
#include "platform/ProgramDirectory.h"

namespace brontel {
namespace {

constexpr const char* kLogFileName = "procedures.log";
constexpr const char* kHeaderSuffix = "\tDatei wird erzeugt: ";

int timerCount = 0;
int nestingDepth = 0;

// The directory part of `path`, separator included; empty when there is none.
std::string DirectoryOf(const std::string& path) {
  const std::size_t separator = path.find_last_of(std::string{platform::PathSeparator(), '/'});
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string CurrentTimestamp() {
  return LogTimestamp(GetFileManager().GetClock().Now(), platform::DateSeparator(),
                      platform::TimeSeparator());
}

// The entry and exit lines have the same shape; only the marker and the tail differ.
std::string TimerLine(const char* marker, int count, int depth, const std::string& name) {
  return CurrentTimestamp() + "\t" + marker + " " + std::to_string(count) + " " +
         std::string(static_cast<std::size_t>(depth > 0 ? depth : 0), '+') + name;
}

}  // namespace

std::string LogTimestamp(const platform::DateTime& value, char dateSeparator, char timeSeparator) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%c%02d%c%02d %02d%c%02d%c%02d,%03d", value.year,
                dateSeparator, value.month, dateSeparator, value.day, value.hour, timeSeparator,
                value.minute, timeSeparator, value.second, value.millisecond);
  return text;
}

void FileManager::WriteLine(const std::string& text) {
  if (path_.empty())
    return;
  const std::lock_guard<std::mutex> lock(writing_);
  std::ofstream file(path_, std::ios::out | std::ios::app);
  if (file)
    file << text << '\n';
}

void FileManager::StartFile() {
  if (path_.empty())
    return;
  const std::string directory = DirectoryOf(path_);
  if (!directory.empty())
    platform::EnsureDirectory(directory);
  std::ofstream file(path_, std::ios::out | std::ios::trunc);
  if (file)
    file << platform::DateTimeText(clock_->Now()) << kHeaderSuffix << '\n';
}

void FileManager::SetPath(const std::string& path) {
  if (path == path_)
    return;
  path_ = path;
  StartFile();
}

FileManager& GetFileManager() {
  static FileManager* const instance = [] {
    auto* manager = new FileManager();
    const std::string directory = platform::WritableProgramDirectory();
    if (!directory.empty())
      manager->SetPath(directory + kLogFileName);
    return manager;
  }();
  return *instance;
}

DebugTimer::DebugTimer(std::string name) : name_(std::move(name)) {
  ++timerCount;
  FileManager& log = GetFileManager();
  startTicks_ = log.GetClock().TickCount();
  try {
    log.WriteLine(TimerLine(">", timerCount, nestingDepth, name_));
  } catch (const std::exception& failure) {
    // The timed procedure runs whether or not its entry line could be written.
    TraceLine("DebugTimer", failure.what());
  }
  ++nestingDepth;
}

DebugTimer::~DebugTimer() {
  --nestingDepth;
  try {
    FileManager& log = GetFileManager();
    const auto elapsed = static_cast<std::int32_t>(log.GetClock().TickCount() - startTicks_);
    log.WriteLine(TimerLine("<", timerCount, nestingDepth, name_) + "\t [" +
                  std::to_string(elapsed) + "]");
  } catch (const std::exception& failure) {
    // A timing line must never turn the end of the timed scope into a failure.
    TraceLine("DebugTimer", failure.what());
  }
}

int DebugTimer::CreatedCount() {
  return timerCount;
}

}  // namespace brontel
