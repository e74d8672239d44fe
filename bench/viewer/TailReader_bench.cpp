// Reading the tail of a log as a reload does it: the last B bytes as lines of at most B-1 bytes.
// A 1 MB tail is read every 400 ms while a log is followed, so this has to stay far below that.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"
#include "viewer/TailReader.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

// The generated logs, removed when the benchmark program ends.
const testing::ScratchFolder& Generated() {
  static const testing::ScratchFolder folder;
  return folder;
}

enum class LogKind { kLf, kCrLf, kUtf16CrLf };

// The UTF-16 LE bytes of an ASCII text.
std::string Utf16Le(const std::string& text) {
  std::string bytes;
  bytes.reserve(2 * text.size());
  for (const char c : text) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

// A 3 MB log of lines about 100 characters long (about 10 000 of them per megabyte; in UTF-16,
// as many Windows programs write their logs, half as many).
const std::string& LogFile(LogKind kind) {
  static const auto make = [](LogKind logKind) {
    const char* const names[] = {"_lf.log", "_crlf.log", "_utf16.log"};
    const fs::path path = Generated().Path() / names[static_cast<int>(logKind)];
    std::ofstream out(path, std::ios::binary);
    if (logKind == LogKind::kUtf16CrLf)
      out << "\xFF\xFE";
    std::string line;
    for (int i = 0; out.tellp() < 3 * 1024 * 1024; ++i) {
      line = "2026-12-08 06:00:00.123 [worker-" + std::to_string(i % 16) + "] " +
             (i % 10 < 3 ? "ERROR " : "INFO ") + "request " + std::to_string(i) + " handled in " +
             std::to_string(i % 997) + " ms by the downstream service";
      line += logKind == LogKind::kLf ? "\n" : "\r\n";
      out << (logKind == LogKind::kUtf16CrLf ? Utf16Le(line) : line);
    }
    return path.string();
  };
  static const std::string files[] = {make(LogKind::kLf), make(LogKind::kCrLf),
                                      make(LogKind::kUtf16CrLf)};
  return files[static_cast<int>(kind)];
}

void ReadTail(benchmark::State& state, LogKind kind) {
  const std::string& path = LogFile(kind);
  const std::uint64_t size = fs::file_size(path);
  const auto bufferSize = static_cast<std::int32_t>(state.range(0));
  TailReader reader;
  std::size_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    reader.Read(path, size, bufferSize, [&](const TailReader::Line& line) {
      benchmark::DoNotOptimize(line.text.data());
      ++lines;
    });
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bufferSize);
}

void BM_TailReaderLf(benchmark::State& state) {
  ReadTail(state, LogKind::kLf);
}
void BM_TailReaderCrLf(benchmark::State& state) {
  ReadTail(state, LogKind::kCrLf);
}
// The same tail size of a UTF-16 log: decoded to 8-bit text before it is split.
void BM_TailReaderUtf16CrLf(benchmark::State& state) {
  ReadTail(state, LogKind::kUtf16CrLf);
}

// For comparison: a line-by-line read with a byte limit through the C library, as a plain port
// would do it, with the carriage returns dropped from each line afterwards.
void BM_LineByLineBaseline(benchmark::State& state) {
  const std::string& path = LogFile(LogKind::kCrLf);
  const std::uint64_t size = fs::file_size(path);
  const auto bufferSize = static_cast<std::int32_t>(state.range(0));
  std::string buffer(static_cast<std::size_t>(bufferSize) + 4, '\0');
  std::size_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file,
               static_cast<long>(size > static_cast<std::uint64_t>(bufferSize)
                                     ? size - static_cast<std::uint64_t>(bufferSize)
                                     : 0),
               SEEK_SET);
    while (std::fgets(buffer.data(), bufferSize, file) != nullptr) {
      std::string line(buffer.data());
      line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
      if (!line.empty() && line.back() == '\n')
        line.pop_back();
      benchmark::DoNotOptimize(line.data());
      ++lines;
    }
    std::fclose(file);
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bufferSize);
}

BENCHMARK(BM_TailReaderLf)->Arg(20480)->Arg(1048576)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TailReaderCrLf)->Arg(20480)->Arg(1048576)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TailReaderUtf16CrLf)->Arg(20480)->Arg(1048576)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineByLineBaseline)->Arg(20480)->Arg(1048576)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brontel
