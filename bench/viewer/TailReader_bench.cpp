// Reading the tail of a log as a reload does it: the last B bytes as lines of at most B-1 bytes.
// A 1 MB tail is read every 400 ms while a log is followed, so this has to stay far below that.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "viewer/TailReader.h"

namespace brontel {
namespace {

namespace fs = std::filesystem;

// Removes the generated logs when the benchmark program ends.
struct GeneratedFiles {
  ~GeneratedFiles() {
    for (const fs::path& path : paths)
      fs::remove(path);
  }
  std::vector<fs::path> paths;
};

GeneratedFiles& Generated() {
  static GeneratedFiles files;
  return files;
}

// A 3 MB log of lines about 100 bytes long (about 10 000 of them per megabyte).
const std::string& LogFile(bool crlf) {
  static const auto make = [](bool withCr) {
    const fs::path path =
        fs::temp_directory_path() /
        ("brontel_bench_tail_" + std::to_string(::getpid()) + (withCr ? "_crlf.log" : "_lf.log"));
    Generated().paths.push_back(path);
    std::ofstream out(path, std::ios::binary);
    std::string line;
    for (int i = 0; out.tellp() < 3 * 1024 * 1024; ++i) {
      line = "2026-12-08 06:00:00.123 [worker-" + std::to_string(i % 16) + "] " +
             (i % 10 < 3 ? "ERROR " : "INFO ") + "request " + std::to_string(i) + " handled in " +
             std::to_string(i % 997) + " ms by the downstream service";
      out << line << (withCr ? "\r\n" : "\n");
    }
    return path.string();
  };
  static const std::string lf = make(false);
  static const std::string crlf_ = make(true);
  return crlf ? crlf_ : lf;
}

void ReadTail(benchmark::State& state, bool crlf) {
  const std::string& path = LogFile(crlf);
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
  ReadTail(state, false);
}
void BM_TailReaderCrLf(benchmark::State& state) {
  ReadTail(state, true);
}

// For comparison: a line-by-line read with a byte limit through the C library, as a plain port
// would do it, with the carriage returns dropped from each line afterwards.
void BM_LineByLineBaseline(benchmark::State& state) {
  const std::string& path = LogFile(true);
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
BENCHMARK(BM_LineByLineBaseline)->Arg(20480)->Arg(1048576)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brontel
