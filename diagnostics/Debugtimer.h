/** @file Debugtimer.h: scope timers that log entry and exit of timed procedures. */
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/Clock.h"
#include "platform/DateTime.h"

namespace brontel {

// The diagnostic log's operations, in this order.
class FileManagerIntf {
 public:
  virtual ~FileManagerIntf() = default;
  // Appends `text` and a line end (opening and closing the file); nothing when the path is empty.
  virtual void WriteLine(const std::string& text) = 0;
  // Empties the file (creating it and its directory if needed) and writes the header line;
  // nothing when the path is empty.
  virtual void StartFile() = 0;
  // Stores a new path and starts that file; a path equal to the current one changes nothing.
  virtual void SetPath(const std::string& path) = 0;
  virtual std::string GetPath() const = 0;
};

// The timing log "procedures.log". A line that cannot be written (the file cannot be opened)
// is dropped silently and the next one tries again; nothing is kept open or buffered between
// lines. Timers write on the UI thread; WriteLine may also be called from other threads (the
// shield records failures of the watcher's thread here), its lines never interleave.
class FileManager final : public FileManagerIntf {
 public:
  explicit FileManager(const platform::Clock& clock = platform::SystemClock()) : clock_(&clock) {}

  void WriteLine(const std::string& text) override;
  void StartFile() override;
  void SetPath(const std::string& path) override;
  std::string GetPath() const override { return path_; }

  // The clock for the log's dates and the timers' ticks. The clock must outlive its use here;
  // tests put a manual clock in and restore SystemClock() afterwards.
  void SetClock(const platform::Clock& clock) { clock_ = &clock; }
  const platform::Clock& GetClock() const { return *clock_; }

 private:
  const platform::Clock* clock_;
  std::string path_;
  std::mutex writing_;
};

// The process-wide log, created on the first call and never destroyed. The first call points it
// at "procedures.log" in platform::WritableProgramDirectory(), replacing what an earlier
// process left there; when that directory is unknown the path stays empty and nothing is logged.
FileManager& GetFileManager();

// Times one scope: construction writes the entry line, destruction the exit line with the
// elapsed milliseconds. Timers nest (each level adds a "+" before the name). UI thread only.
class DebugTimer {
 public:
  explicit DebugTimer(std::string name);
  ~DebugTimer();
  DebugTimer(const DebugTimer&) = delete;
  DebugTimer& operator=(const DebugTimer&) = delete;

  // Timers created in this process so far.
  static int CreatedCount();

 private:
  std::string name_;
  std::uint32_t startTicks_;
};

// "yyyy/mm/dd hh:nn:ss,zzz" with the given date and time separators in place of "/" and ":".
std::string LogTimestamp(const platform::DateTime& value, char dateSeparator, char timeSeparator);

}  // namespace brontel
