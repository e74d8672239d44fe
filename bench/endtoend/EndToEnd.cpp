// End-to-end measurements through the loaded brontel.wlx, as a host drives it:
//   brontel_endtoend MODULE load FILE
//   brontel_endtoend MODULE search FILE [ROUNDS]
//   brontel_endtoend MODULE tail WORKDIR [TICKS]
//   brontel_endtoend MODULE latency WORKDIR watcher|poll|tail-F [APPENDS]
//   brontel_endtoend MODULE idle WORKDIR viewer|none [SECONDS]
// Each prints "name value" lines (milliseconds, kilobytes) for scripts/perf to collect. The
// module's timers run on the real clock (ModuleSession), so waits are as long as a user's.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/endtoend/ModuleSession.h"

namespace brontel::perf {
namespace {

namespace fs = std::filesystem;

void Print(const char* name, double value) {
  std::printf("%s %.3f\n", name, value);
  std::fflush(stdout);
}

// Median, 90th percentile and worst of a series, printed under `name`.
void PrintSeries(const std::string& name, std::vector<double> values) {
  if (values.empty())
    return;
  std::sort(values.begin(), values.end());
  Print((name + "_median").c_str(), values[values.size() / 2]);
  Print((name + "_p90").c_str(), values[values.size() * 9 / 10]);
  Print((name + "_worst").c_str(), values.back());
}

long PeakRssKilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double CpuMilliseconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// --- complete load -------------------------------------------------------------------------

// A large log shows its end first and the whole view once it is indexed in the background; the
// whole view's text (every line with CR LF) is at least as long as the file.
void WaitForWholeView(ModuleSession& session, const fs::path& log) {
  const auto size = static_cast<std::int64_t>(fs::file_size(log));
  const Clock::time_point give_up = Clock::now() + std::chrono::minutes(10);
  while (session.TextLength() < size && Clock::now() < give_up)
    session.RunFor(20, 5);
}

int MeasureLoad(host::PluginHost& host, const fs::path& log) {
  ModuleSession session(
      host, fs::temp_directory_path() / ("brontel-perf-load-" + std::to_string(::getpid())));
  Print("rss_before_kb", static_cast<double>(PeakRssKilobytes()));
  const double cpuBefore = CpuMilliseconds();
  const Clock::time_point start = Clock::now();
  if (!session.Open(log, {.completeLoad = true, .autoTail = false}))
    throw std::runtime_error("the module declined " + log.string());
  session.Advance(0);
  Print("first_screen_ms", MillisecondsBetween(start, Clock::now()));
  WaitForWholeView(session, log);
  const std::int64_t length = session.TextLength();
  Print("load_ms", MillisecondsBetween(start, Clock::now()));
  // On a shared machine the wall time includes waiting for a core; the CPU time does not.
  Print("load_cpu_ms", CpuMilliseconds() - cpuBefore);
  Print("peak_rss_kb", static_cast<double>(PeakRssKilobytes()));
  Print("text_length", static_cast<double>(length));
  return 0;
}

// --- search --------------------------------------------------------------------------------

int MeasureSearch(host::PluginHost& host, const fs::path& log, int rounds) {
  ModuleSession session(
      host, fs::temp_directory_path() / ("brontel-perf-search-" + std::to_string(::getpid())));
  if (!session.Open(log, {.completeLoad = true, .autoTail = false}))
    throw std::runtime_error("the module declined " + log.string());
  session.Advance(0);
  WaitForWholeView(session, log);
  // The caret starts on the separator below the history; each search leaves it on its match,
  // so the searches alternate between the marks near the two ends of the file.
  struct Kind {
    const char* name;
    const char* pattern;
    int flags;
  };
  // The expressions, beside `grep -c -E` of the same expression: kSearchExpression (16).
  const Kind kinds[] = {{"forward_nocase", "perfmarktail", 0},
                        {"backward_nocase", "perfmarkhead", 8},
                        {"forward_case", "PerfMarkTail", 2},
                        {"backward_case", "PerfMarkHead", 10},
                        {"forward_expression", "PerfMark(Tail|Tial) *$", 2 | 16},
                        {"backward_expression", "PerfMark(Head|Haed) *$", 2 | 8 | 16}};
  std::vector<std::vector<double>> times(std::size(kinds));
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
      const Clock::time_point start = Clock::now();
      const bool found = session.Search(kinds[k].pattern, kinds[k].flags);
      times[k].push_back(MillisecondsBetween(start, Clock::now()));
      if (!found)
        throw std::runtime_error(std::string("search missed: ") + kinds[k].name);
    }
  }
  for (std::size_t k = 0; k < std::size(kinds); ++k)
    PrintSeries(std::string("search_") + kinds[k].name, times[k]);
  return 0;
}

// --- tail reload ticks ---------------------------------------------------------------------

// The reference: what merely reading the last megabyte and finding its lines costs.
double ReadAndSplitTail(const fs::path& log, std::vector<char>& buffer,
                        std::vector<std::string_view>& lines) {
  const Clock::time_point start = Clock::now();
  const int fd = ::open(log.c_str(), O_RDONLY);
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const off_t from = std::max<off_t>(0, size - static_cast<off_t>(buffer.size()));
  const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), from);
  ::close(fd);
  lines.clear();
  const char* at = buffer.data();
  const char* end = at + std::max<ssize_t>(got, 0);
  while (at < end) {
    const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', end - at));
    if (lineEnd == nullptr)
      lineEnd = end;
    lines.emplace_back(at, lineEnd - at);
    at = lineEnd + 1;
  }
  return MillisecondsBetween(start, Clock::now());
}

int MeasureTail(host::PluginHost& host, const fs::path& work, int ticks) {
  fs::create_directories(work);
  const fs::path log = work / "tail.log";
  fs::remove(log);
  std::uint64_t sequence = 0;
  std::string text;
  while (text.size() < 2 * 1024 * 1024) {
    ++sequence;
    text += LogLine(sequence % 50 == 0 ? 'E' : 'I', sequence);
  }
  AppendToFile(log, text);
  ModuleSession session(host, work);
  if (!session.Open(log, {}))
    throw std::runtime_error("the module declined " + log.string());
  session.Advance(60);
  // Fill the history to its limit: a megabyte of new error lines per tick.
  for (int round = 0; round < 11; ++round) {
    text.clear();
    while (text.size() < 1024 * 1024)
      text += LogLine('E', ++sequence);
    AppendToFile(log, text);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    session.Advance(0);
    session.Advance(400);
  }
  Print("tail_view_length", static_cast<double>(session.TextLength()));
  std::vector<char> buffer(1024 * 1024);
  std::vector<std::string_view> lines;
  std::vector<double> plainTicks, errorTicks, reference;
  for (int tick = 0; tick < ticks; ++tick) {
    const bool error = tick % 2 == 1;
    AppendToFile(log, LogLine(error ? 'E' : 'I', ++sequence));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    session.Advance(0);  // the watcher's notification: the reload becomes due
    const Clock::time_point start = Clock::now();
    session.Advance(400);
    (error ? errorTicks : plainTicks).push_back(MillisecondsBetween(start, Clock::now()));
    reference.push_back(ReadAndSplitTail(log, buffer, lines));
  }
  Print("tail_lines_in_buffer", static_cast<double>(lines.size()));
  PrintSeries("tail_tick_plain", plainTicks);
  PrintSeries("tail_tick_error", errorTicks);
  PrintSeries("tail_reference", reference);
  return 0;
}

// --- change-to-screen latency --------------------------------------------------------------

// `tail -F` on the log, its output read through a pipe.
class TailFollower {
 public:
  explicit TailFollower(const fs::path& log) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
      throw std::runtime_error("pipe");
    child_ = ::fork();
    if (child_ == 0) {
      ::dup2(pipeEnds[1], STDOUT_FILENO);
      ::close(pipeEnds[0]);
      ::close(pipeEnds[1]);
      ::execlp("tail", "tail", "-F", "-n", "0", log.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(pipeEnds[1]);
    output_ = pipeEnds[0];
  }
  ~TailFollower() {
    ::kill(child_, SIGTERM);
    ::waitpid(child_, nullptr, 0);
    ::close(output_);
  }
  // Waits until tail printed something; false after `timeoutMs`.
  bool WaitForOutput(int timeoutMs) {
    pollfd ready{output_, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0)
      return false;
    char drain[4096];
    return ::read(output_, drain, sizeof drain) > 0;
  }

 private:
  pid_t child_ = -1;
  int output_ = -1;
};

int MeasureLatency(host::PluginHost& host, const fs::path& work, const std::string& mode,
                   int appends) {
  fs::create_directories(work);
  const fs::path log = work / ("latency-" + mode + ".log");
  fs::remove(log);
  std::uint64_t sequence = 0;
  std::string text;
  for (int i = 0; i < 200; ++i)
    text += LogLine('I', ++sequence);
  AppendToFile(log, text);
  std::mt19937 random(4711);
  std::uniform_int_distribution<int> pause(50, 1000);
  std::vector<double> latencies;
  int misses = 0;
  if (mode == "tail-F") {
    TailFollower follower(log);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (int i = 0; i < appends; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
      const Clock::time_point start = Clock::now();
      AppendToFile(log, LogLine('I', ++sequence));
      if (follower.WaitForOutput(5000))
        latencies.push_back(MillisecondsBetween(start, Clock::now()));
      else
        ++misses;
    }
  } else {
    ModuleSession session(host, work);
    if (!session.Open(log, {.autoTail = mode == "watcher"}))
      throw std::runtime_error("the module declined " + log.string());
    session.RunFor(1500);
    for (int i = 0; i < appends; ++i) {
      session.RunFor(pause(random));
      const std::int64_t before = session.TextLength();
      const Clock::time_point start = Clock::now();
      AppendToFile(log, LogLine('I', ++sequence));
      bool seen = false;
      while (!seen && MillisecondsBetween(start, Clock::now()) < 5000) {
        session.Step();
        seen = session.TextLength() != before;
        if (!seen)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (seen)
        latencies.push_back(MillisecondsBetween(start, Clock::now()));
      else
        ++misses;
    }
  }
  PrintSeries("latency", latencies);
  Print("latency_misses", misses);
  return 0;
}

// --- idle cost -----------------------------------------------------------------------------

int MeasureIdle(host::PluginHost& host, const fs::path& work, bool withViewer, double seconds) {
  fs::create_directories(work);
  const fs::path log = work / "idle.log";
  if (!fs::exists(log)) {
    std::string text;
    for (std::uint64_t i = 1; i <= 5000; ++i)
      text += LogLine(i % 50 == 0 ? 'E' : 'I', i);
    AppendToFile(log, text);
  }
  ModuleSession session(host, work);
  if (withViewer && !session.Open(log, {}))
    throw std::runtime_error("the module declined " + log.string());
  session.RunFor(2000, 50);  // the first load and its settling are not idle time
  const double cpuBefore = CpuMilliseconds();
  const Clock::time_point start = Clock::now();
  session.RunFor(seconds * 1000, 50);
  const double minutes = MillisecondsBetween(start, Clock::now()) / 60000;
  Print("idle_cpu_ms_per_minute", (CpuMilliseconds() - cpuBefore) / minutes);
  return 0;
}

int Run(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s MODULE load|search|tail|latency|idle PATH [...]\n", argv[0]);
    return 2;
  }
  host::PluginHost host(argv[1]);
  const std::string command = argv[2];
  const fs::path path = argv[3];
  const auto number = [&](int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
  };
  if (command == "load")
    return MeasureLoad(host, path);
  if (command == "search")
    return MeasureSearch(host, path, number(4, 3));
  if (command == "tail")
    return MeasureTail(host, path, number(4, 100));
  if (command == "latency" && argc > 4)
    return MeasureLatency(host, path, argv[4], number(5, 200));
  if (command == "idle" && argc > 4)
    return MeasureIdle(host, path, std::string(argv[4]) == "viewer", number(5, 60));
  std::fprintf(stderr, "unknown command %s\n", command.c_str());
  return 2;
}

}  // namespace
}  // namespace brontel::perf

int main(int argc, char** argv) {
  try {
    return brontel::perf::Run(argc, argv);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "brontel_endtoend: %s\n", failure.what());
    return 1;
  }
}
