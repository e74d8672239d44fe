#include "tests/reliability/support/LogWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace brontel::reliability {

namespace fs = std::filesystem;

std::string MadeLine(std::uint64_t n) {
  char number[24];
  std::snprintf(number, sizeof number, "%010llu", static_cast<unsigned long long>(n));
  if (n % 7 == 0)
    return std::string("E   ") + number + " request failed: connection reset by peer";
  if (n % 11 == 0)
    return std::string("W   ") + number + " queue is 80% full";
  if (n % 13 == 0)
    return std::string("U   ") + number + " operator attention needed";
  return std::string("I   ") + number + " handled request in 12 ms";
}

LogWriter::LogWriter(std::string path, bool keepsCopy)
    : path_(std::move(path)), keepsCopy_(keepsCopy) {
  std::ofstream create(path_, std::ios::binary | std::ios::app);
  create.close();
  size_ = std::filesystem::file_size(path_);
  if (keepsCopy_)
    expected_ = FileBytes(path_);
}

LogWriter::~LogWriter() {
  Stop();
}

void LogWriter::Start(int linesPerSecond) {
  Stop();
  running_ = true;
  thread_ = std::thread([this, linesPerSecond] { Run(linesPerSecond); });
}

void LogWriter::Stop() {
  running_ = false;
  if (thread_.joinable())
    thread_.join();
}

// Writes paced to the wall clock. Each write completes the line begun before and begins the
// next one, so the file nearly always ends in a partial line; Stop completes the last.
void LogWriter::Run(int linesPerSecond) {
  using Clock = std::chrono::steady_clock;
  const auto begin = Clock::now();
  std::uint64_t done = 0;
  std::string pending;
  while (running_) {
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    const auto due = static_cast<std::uint64_t>(seconds * linesPerSecond);
    for (; done < due && running_; ++done) {
      const std::string line = MadeLine(next_++) + "\n";
      const std::size_t half = line.size() / 2;
      Append(pending + line.substr(0, half));
      pending = line.substr(half);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Append(pending);
}

void LogWriter::AppendLocked(const std::string& bytes) {
  std::FILE* file = std::fopen(path_.c_str(), "ab");
  if (file == nullptr)
    throw std::runtime_error("cannot append to " + path_);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  if (!written)
    throw std::runtime_error("short write to " + path_);
  size_ += bytes.size();
  if (keepsCopy_)
    expected_ += bytes;
}

void LogWriter::Append(const std::string& bytes) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  AppendLocked(bytes);
}

void LogWriter::AppendNextLine(int pauseMicros) {
  const std::string line = MadeLine(next_++) + "\n";
  const std::size_t half = line.size() / 2;
  Append(line.substr(0, half));
  if (pauseMicros > 0)
    std::this_thread::sleep_for(std::chrono::microseconds(pauseMicros));
  Append(line.substr(half));
}

void LogWriter::RotateByRename(const std::string& oldPath) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  fs::rename(path_, oldPath);
  std::ofstream create(path_, std::ios::binary);
  expected_.clear();
  size_ = 0;
}

void LogWriter::CopyAndTruncate(const std::string& oldPath) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  fs::copy_file(path_, oldPath, fs::copy_options::overwrite_existing);
  fs::resize_file(path_, 0);
  expected_.clear();
  size_ = 0;
}

void LogWriter::DeleteAndRecreate() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  fs::remove(path_);
  std::ofstream create(path_, std::ios::binary);
  expected_.clear();
  size_ = 0;
}

void LogWriter::TruncateTo(std::size_t size) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  size = std::min(size, size_);
  fs::resize_file(path_, size);
  size_ = size;
  if (keepsCopy_)
    expected_.resize(size);
}

std::string LogWriter::Expected() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return expected_;
}

std::size_t LogWriter::Size() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return size_;
}

std::string LogWriter::ExpectedTail(std::size_t count) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return expected_.substr(expected_.size() - std::min(count, expected_.size()));
}

std::string FileTail(const std::string& path, std::size_t count) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in)
    return {};
  const auto size = static_cast<std::size_t>(in.tellg());
  const std::size_t start = size - std::min(count, size);
  in.seekg(static_cast<std::streamoff>(start));
  std::string bytes(size - start, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace brontel::reliability
