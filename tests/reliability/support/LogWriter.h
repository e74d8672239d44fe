/** @file LogWriter.h: a log writer that knows every byte it put into its file. */
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace brontel::reliability {

// The n-th line a writer makes: every 7th an error, every 11th a warning, every 13th an urgent
// line, the rest plain. Sequence numbers are zero-padded, so no line is part of another.
std::string MadeLine(std::uint64_t n);

// Appends to one log path like a logger does and keeps a copy of what the file must hold, so a
// test can tell that nobody else changed it. Lines are written in two halves, so readers meet
// partial lines. All operations are safe from any thread; Hold() stops
// the writer between two of its writes for as long as the returned lock lives.
class LogWriter {
 public:
  // Without `keepsCopy` only the size is kept (for long runs whose memory is measured), and
  // Expected() and ExpectedTail() answer empty.
  explicit LogWriter(std::string path, bool keepsCopy = true);
  ~LogWriter();
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Starts a thread that appends `linesPerSecond` lines a second until Stop(); between two of
  // its writes the file ends in the first half of a line.
  void Start(int linesPerSecond);
  void Stop();

  // Appends raw bytes now.
  void Append(const std::string& bytes);
  // Appends the next made line in two halves (the second after `pauseMicros`).
  void AppendNextLine(int pauseMicros = 0);

  // Rotations: the old file moves to `oldPath` (rename) or a copy is made there before the log
  // is cut to zero; or the log is deleted. The log then starts empty.
  void RotateByRename(const std::string& oldPath);
  void CopyAndTruncate(const std::string& oldPath);
  void DeleteAndRecreate();
  // Cuts the log to `size` bytes (no more than it has).
  void TruncateTo(std::size_t size);

  std::unique_lock<std::recursive_mutex> Hold() {
    return std::unique_lock<std::recursive_mutex>(mutex_);
  }
  // What the file must hold now. Take it under Hold() for a stable answer.
  std::string Expected() const;
  std::size_t Size() const;
  // The last `count` bytes of Expected() (all of it when shorter).
  std::string ExpectedTail(std::size_t count) const;
  std::uint64_t LinesWritten() const { return next_; }
  const std::string& Path() const { return path_; }

 private:
  void Run(int linesPerSecond);
  void AppendLocked(const std::string& bytes);

  const std::string path_;
  const bool keepsCopy_;
  std::size_t size_ = 0;
  mutable std::recursive_mutex mutex_;
  std::string expected_;
  std::atomic<std::uint64_t> next_{0};
  std::atomic<bool> running_{false};
  std::thread thread_;
};

// The bytes of a file, or empty when it cannot be read.
std::string FileBytes(const std::string& path);
// The last `count` bytes of a file (all of it when shorter), or empty.
std::string FileTail(const std::string& path, std::size_t count);

}  // namespace brontel::reliability
