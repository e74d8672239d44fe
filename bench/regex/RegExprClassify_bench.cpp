// Classifies generated log lines with the built-in message-type expressions, once with this
// engine and, on the same lines, with std::regex and PCRE2 (interpreted and JIT). Every engine
// must give each line the same type; a difference fails the run.
//
// "every:1" runs over all lines. std::regex and interpreted PCRE2 backtrack quadratically on
// .+FAILED.+ and would need the better part of an hour for a million lines, so all engines also
// run over every 100th line ("every:100"), which is the figure to compare them by.
//
// BRONTEL_BENCH_LINES sets the number of lines (default 1 000 000).

#define PCRE2_CODE_UNIT_WIDTH 8
#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "regex/RegExpr.h"

namespace brontel {
namespace {

// The built-in message types in list order: Error, Warning, Urgent, Summary.
const std::vector<std::vector<std::string>>& BuiltInTypes() {
  static const std::vector<std::vector<std::string>> types = {
      {"^E   .+", "^E\t.+"},
      {"^W   .+", "^W\t.+"},
      {"^U   .+", "^U\t.+", ".+FAILED.+"},
      {"^[|]   .+", "^[|]\t.+"},
  };
  return types;
}

// All lines in one buffer, each zero-terminated, with their starts and lengths.
struct LogLines {
  std::string buffer;
  std::vector<std::size_t> starts;
  std::vector<std::size_t> lengths;
  std::size_t size() const { return starts.size(); }
  const char* line(std::size_t i) const { return buffer.data() + starts[i]; }
};

class LineGenerator {
 public:
  explicit LineGenerator(unsigned seed) : random_(seed) {}

  std::string Line() {
    const int length = Length();
    const int kind = Pick(100);
    std::string line;
    if (kind < 8) {
      line = Marker('E');
    } else if (kind < 14) {
      line = Marker('W');
    } else if (kind < 17) {
      line = Marker('U');
    } else if (kind < 19) {
      line = Pick(2) ? "|\t" : "|   ";
    } else if (kind < 20) {
      line = Pick(2) ? "Error in " : "Warning:  ";  // marker letters without the marker
    } else {
      line = Timestamp();
    }
    const bool failed = kind >= 20 && kind < 25;
    FillWords(line, failed ? length / 2 : length);
    if (failed) {
      line += Pick(4) == 0 ? " step FAILED" : " FAILED: ";
      FillWords(line, length);
    } else if (kind >= 25 && kind < 27) {
      line += " failed, FAILE retry";  // near misses
    }
    if (kind == 27)
      line = "FAILED " + line;  // nothing before
    if (kind == 28)
      line += " FAILED";  // nothing after
    return line;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // Mostly short lines, some long ones, up to 2 000 characters.
  int Length() {
    const int bucket = Pick(100);
    if (bucket < 75)
      return 80 + Pick(121);
    if (bucket < 95)
      return 200 + Pick(601);
    return 800 + Pick(1201);
  }

  std::string Marker(char letter) {
    std::string marker(1, letter);
    marker += Pick(2) ? "\t" : "   ";
    return marker;
  }

  std::string Timestamp() {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "2024-06-%02d %02d:%02d:%02d.%03d [worker-%d] ",
                  1 + Pick(28), Pick(24), Pick(60), Pick(60), Pick(1000), Pick(16));
    return stamp;
  }

  void FillWords(std::string& line, int length) {
    static const char* const kWords[] = {"request",
                                         "served",
                                         "in",
                                         "ms",
                                         "user",
                                         "id=42",
                                         "cache",
                                         "miss",
                                         "Error",
                                         "Warn",
                                         "Update",
                                         "loaded",
                                         "FAIL",
                                         "ED",
                                         "Done",
                                         "queue",
                                         "path=/var/log/app",
                                         "status=200",
                                         "retry",
                                         "E",
                                         "W",
                                         "U",
                                         "|",
                                         "timeout"};
    while (static_cast<int>(line.size()) < length) {
      line += kWords[Pick(static_cast<int>(std::size(kWords)))];
      line += ' ';
    }
  }

  std::mt19937 random_;
};

std::size_t LineCount() {
  if (const char* text = std::getenv("BRONTEL_BENCH_LINES")) {
    const long long count = std::atoll(text);
    if (count > 0)
      return static_cast<std::size_t>(count);
  }
  return 1'000'000;
}

const LogLines& Lines() {
  static const LogLines lines = [] {
    LogLines result;
    LineGenerator generator(12345);
    const std::size_t count = LineCount();
    result.starts.reserve(count);
    result.lengths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::string line = generator.Line();
      result.starts.push_back(result.buffer.size());
      result.lengths.push_back(line.size());
      result.buffer += line;
      result.buffer += '\0';
    }
    return result;
  }();
  return lines;
}

// Classification as the viewer does it: the first type with a matching expression, or -1.
template <typename Engine>
class Classifier {
 public:
  Classifier() {
    for (const auto& patterns : BuiltInTypes()) {
      types_.emplace_back();
      for (const std::string& pattern : patterns)
        types_.back().emplace_back(pattern);
    }
  }

  int Classify(const char* line, std::size_t length) {
    if (length <= 1)
      return -1;
    for (std::size_t type = 0; type < types_.size(); ++type) {
      for (Engine& expression : types_[type]) {
        if (expression.Matches(line, length))
          return static_cast<int>(type);
      }
    }
    return -1;
  }

 private:
  std::vector<std::vector<Engine>> types_;
};

class OwnEngine {
 public:
  explicit OwnEngine(const std::string& pattern) : re_(std::make_unique<RegExpr>(pattern)) {}
  bool Matches(const char* line, std::size_t) {
    int length = 0;
    return re_->Match(line, length, 0) >= 0;
  }

 private:
  std::unique_ptr<RegExpr> re_;
};

class StdEngine {
 public:
  explicit StdEngine(const std::string& pattern)
      : re_(pattern, std::regex::ECMAScript | std::regex::nosubs | std::regex::optimize) {}
  bool Matches(const char* line, std::size_t length) {
    return std::regex_search(line, line + length, re_);
  }

 private:
  std::regex re_;
};

template <bool kJit>
class PcreEngine {
 public:
  explicit PcreEngine(const std::string& pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()), PCRE2_ZERO_TERMINATED,
                              0, &error, &offset, nullptr));
    if (!code_) {
      std::fprintf(stderr, "PCRE2 refuses %s\n", pattern.c_str());
      std::abort();
    }
    if (kJit && pcre2_jit_compile(code_.get(), PCRE2_JIT_COMPLETE) != 0) {
      std::fprintf(stderr, "PCRE2 JIT unavailable for %s\n", pattern.c_str());
      std::abort();
    }
    data_.reset(pcre2_match_data_create_from_pattern(code_.get(), nullptr));
  }
  bool Matches(const char* line, std::size_t length) {
    const auto subject = reinterpret_cast<PCRE2_SPTR>(line);
    const int rc =
        kJit ? pcre2_jit_match(code_.get(), subject, length, 0, 0, data_.get(), nullptr)
             : pcre2_match(code_.get(), subject, length, 0, PCRE2_NO_JIT, data_.get(), nullptr);
    return rc >= 0;
  }

 private:
  struct CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
  };
  struct DataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
  };
  std::unique_ptr<pcre2_code, CodeFree> code_;
  std::unique_ptr<pcre2_match_data, DataFree> data_;
};

// Answers for lines 0, stride, 2 * stride, ...; the others stay -2.
template <typename Engine>
void ClassifyEvery(std::size_t stride, Classifier<Engine>& classifier,
                   std::vector<std::int8_t>& answers) {
  const LogLines& lines = Lines();
  answers.assign(lines.size(), -2);
  for (std::size_t i = 0; i < lines.size(); i += stride) {
    answers[i] = static_cast<std::int8_t>(classifier.Classify(lines.line(i), lines.lengths[i]));
  }
}

const std::vector<std::int8_t>& ReferenceAnswers() {
  static const std::vector<std::int8_t> answers = [] {
    Classifier<OwnEngine> classifier;
    std::vector<std::int8_t> result;
    ClassifyEvery(1, classifier, result);
    return result;
  }();
  return answers;
}

template <typename Engine>
void BM_ClassifyLines(benchmark::State& state) {
  const LogLines& lines = Lines();
  const std::vector<std::int8_t>& reference = ReferenceAnswers();
  const auto stride = static_cast<std::size_t>(state.range(0));
  Classifier<Engine> classifier;
  std::vector<std::int8_t> answers;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < lines.size(); i += stride)
    bytes += lines.lengths[i] + 1;
  for (auto _ : state) {
    ClassifyEvery(stride, classifier, answers);
    benchmark::DoNotOptimize(answers.data());
  }
  const std::size_t classified = (lines.size() + stride - 1) / stride;
  for (std::size_t i = 0; i < lines.size(); i += stride) {
    if (answers[i] != reference[i]) {
      std::fprintf(stderr, "line %zu: type %d, expected %d: %s\n", i, answers[i], reference[i],
                   lines.line(i));
      state.SkipWithError("an engine classified a line differently");
      return;
    }
  }
  std::size_t typed[6] = {};
  for (std::int8_t answer : answers)
    ++typed[answer + 2];
  state.counters["time_per_line"] = benchmark::Counter(
      static_cast<double>(classified) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
  state.counters["lines"] = static_cast<double>(classified);
  state.counters["untyped"] = static_cast<double>(typed[1]);
  state.counters["urgent"] = static_cast<double>(typed[4]);
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}

constexpr int kSampleStride = 100;

BENCHMARK(BM_ClassifyLines<OwnEngine>)
    ->Name("Classify/brontel")
    ->ArgName("every")
    ->Arg(1)
    ->Arg(kSampleStride)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyLines<PcreEngine<true>>)
    ->Name("Classify/pcre2_jit")
    ->ArgName("every")
    ->Arg(1)
    ->Arg(kSampleStride)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyLines<PcreEngine<false>>)
    ->Name("Classify/pcre2")
    ->ArgName("every")
    ->Arg(kSampleStride)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_ClassifyLines<StdEngine>)
    ->Name("Classify/std_regex")
    ->ArgName("every")
    ->Arg(kSampleStride)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace brontel
