// Replacing all lines of a big view, mapping text offsets to lines, and painting one screen.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "shells/headless/RecordingCanvas.h"
#include "ui/LineStore.h"
#include "ui/TRAHLEditor.h"

namespace brontel::ui {
namespace {

constexpr std::size_t kBigLineCount = 10'000'000;

// Peak resident memory of the process so far, in MiB (0 where /proc is missing).
double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
    std::getline(status, key);
  }
  return 0;
}

// Log-like lines of 60 to 140 characters, a few with a tab, all in one backing string so that
// the input costs no allocation per line.
struct LogText {
  std::string backing;
  std::vector<std::string_view> lines;

  explicit LogText(std::size_t count) {
    std::mt19937 random(42);
    std::vector<std::size_t> lengths(count);
    std::size_t total = 0;
    for (auto& length : lengths)
      total += length = 60 + random() % 81;
    backing.reserve(total);
    for (std::size_t i = 0; i < count; ++i) {
      std::string line = (i % 50 == 0 ? "E\t" : "I   ") + std::to_string(i) + " worker ";
      line.resize(lengths[i], 'x');
      backing += line;
    }
    lines.reserve(count);
    std::size_t at = 0;
    for (std::size_t length : lengths) {
      lines.emplace_back(backing.data() + at, length);
      at += length;
    }
  }
};

const LogText& BigLog() {
  static const LogText log(kBigLineCount);
  return log;
}

void BM_ReplaceAllTenMillionLines(benchmark::State& state) {
  const LogText& log = BigLog();
  const double inputMiB = static_cast<double>(log.backing.size()) / (1024.0 * 1024.0);
  const double before = PeakResidentMiB();
  TRAHLEditor editor("_editor");
  for (auto _ : state) {
    editor.AssignLines(log.lines);
    benchmark::DoNotOptimize(editor.TextLength());
  }
  const double textMiB = static_cast<double>(editor.TextLength()) / (1024.0 * 1024.0);
  state.counters["text_MiB"] = textMiB;
  state.counters["input_MiB"] = inputMiB;
  state.counters["peak_rise_MiB"] = PeakResidentMiB() - before;
  state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(kBigLineCount),
                                                     benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReplaceAllTenMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// The tail loader's way: a list of separate strings (a 1 MB tail is about 10 000 lines).
void BM_ReplaceAllFromStrings(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const LogText log(count);
  const std::vector<std::string> lines(log.lines.begin(), log.lines.end());
  TRAHLEditor editor("_editor");
  for (auto _ : state) {
    editor.AssignLines(lines);
    benchmark::DoNotOptimize(editor.TextLength());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}
BENCHMARK(BM_ReplaceAllFromStrings)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_OffsetToLine(benchmark::State& state) {
  static LineStore store;
  if (store.Empty())
    store.Assign(BigLog().lines);
  std::mt19937_64 random(7);
  std::vector<std::size_t> offsets(4096);
  for (auto& offset : offsets)
    offset = random() % store.TextLength();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.LineOf(offsets[i++ & 4095]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OffsetToLine);

void BM_SetSelStartInBigView(benchmark::State& state) {
  static TRAHLEditor editor("_editor");
  if (editor.LineCount() == 0) {
    editor.AssignLines(BigLog().lines);
    editor.SetBounds(Rect{0, 0, 657, 575});
  }
  std::mt19937_64 random(9);
  std::vector<std::size_t> offsets(4096);
  for (auto& offset : offsets)
    offset = random() % editor.TextLength();
  std::size_t i = 0;
  for (auto _ : state) {
    editor.SetSelStart(offsets[i++ & 4095]);
    benchmark::DoNotOptimize(editor.CaretOffset());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetSelStartInBigView);

// A canvas that only counts, so the figure is the paint routine's own cost.
class CountingCanvas : public Canvas {
 public:
  Size CellSize() const override { return Size{7, 14}; }
  Color BrushColor() const override { return brush_; }
  void SetBrushColor(Color color) override { brush_ = color; }
  Color PenColor() const override { return pen_; }
  void SetPenColor(Color color) override { pen_ = color; }
  void FillRect(const Rect&) override { ++calls_; }
  void DrawTextRun(Point, std::string_view text, const TextAttr&) override {
    calls_ += text.size();
  }
  void MoveTo(Point) override { ++calls_; }
  void LineTo(Point) override { ++calls_; }
  std::size_t calls_ = 0;

 private:
  Color brush_ = clWhite;
  Color pen_ = clBlack;
};

// One screen of the viewer's layout (657 x 575 pixels: 41 rows of 91 columns), every line
// coloured by a callback the way the viewer colours by message type, a selection across rows.
template <typename AfterPaint>
void PaintScreen(benchmark::State& state, Canvas& canvas, AfterPaint afterPaint) {
  const LogText log(2000);
  TRAHLEditor editor("_editor");
  editor.AssignLines(log.lines);
  editor.SetBounds(Rect{0, 0, 657, 575});
  editor.SetSelStart(editor.Lines().LineStart(1010) + 5);
  editor.SetSelLength(300);
  editor.ScrollTo(0, 1000);
  editor.OnGetLineAttr = [](TRAHLEditor&, std::string_view line, std::size_t, LineAttrs& attrs) {
    if (line.size() > 1 && line[0] == 'E') {
      for (std::size_t i = 1; i < kLineAttrCount; ++i) {
        attrs[i] = TextAttr{clWhite, clRed, FontStyle::Bold};
      }
    }
  };
  for (auto _ : state) {
    editor.Paint(canvas);
    afterPaint();
  }
  state.counters["rows"] = editor.VisibleRows();
}

void BM_PaintOneScreen(benchmark::State& state) {
  CountingCanvas canvas;
  PaintScreen(state, canvas, [] {});
}
BENCHMARK(BM_PaintOneScreen)->Unit(benchmark::kMicrosecond);

void BM_PaintOneScreenRecorded(benchmark::State& state) {
  headless::RecordingCanvas canvas;
  PaintScreen(state, canvas, [&canvas] { canvas.Reset(); });
}
BENCHMARK(BM_PaintOneScreenRecorded)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brontel::ui
