// What one full repaint of the text view costs on the Qt canvas: a window of plain log lines,
// and the same with every line in a message type's colours and bold, and with a binary tail.

#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "shells/qt/QtCanvas.h"
#include "shells/qt/QtLook.h"
#include "ui/TRAHLEditor.h"

namespace {

QGuiApplication& Application() {
  static QGuiApplication* const application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_shell_bench";
    static char* argv[] = {name, nullptr};
    return new QGuiApplication(argc, argv);
  }();
  return *application;
}

std::vector<std::string> LogLines(bool binary) {
  std::vector<std::string> lines;
  for (int i = 0; i < 2000; ++i) {
    std::string line = "I   10:00:" + std::to_string(i % 60) + " request GET /api/orders/" +
                       std::to_string(i) +
                       " served in 12 ms by worker 3 of 8, cache hit, 1 204 bytes";
    if (binary)
      line += std::string("\x01\x02\xFF\xFE\x80\x9F payload", 14);
    lines.push_back(line);
  }
  return lines;
}

void PaintFullView(benchmark::State& state, bool coloured, bool binary) {
  Application();
  brontel::ui::TRAHLEditor editor("_editor");
  const QFont font = brontel::qt::QtMonospaceFontOf(brontel::ui::Font{"Courier New", -11});
  editor.SetCellSize(brontel::qt::QtCanvas::CellSizeOf(font));
  editor.SetBounds(brontel::ui::Rect::FromSize(0, 0, 640, 560));
  editor.AssignLines(std::span<const std::string>(LogLines(binary)));
  if (coloured) {
    editor.OnGetLineAttr = [](brontel::ui::TRAHLEditor&, std::string_view, std::size_t,
                              brontel::ui::LineAttrs& attrs) {
      attrs.fill({brontel::ui::clWhite, brontel::ui::clRed, brontel::ui::FontStyle::Bold});
    };
  }
  QImage image(640, 560, QImage::Format_RGB32);
  const QPalette palette;
  for (auto _ : state) {
    QPainter painter(&image);
    brontel::qt::QtCanvas canvas(painter, font, palette);
    editor.Paint(canvas);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["rows"] = editor.VisibleRows();
}

void BM_PaintPlainView(benchmark::State& state) {
  PaintFullView(state, false, false);
}
void BM_PaintColouredView(benchmark::State& state) {
  PaintFullView(state, true, false);
}
void BM_PaintBinaryView(benchmark::State& state) {
  PaintFullView(state, false, true);
}

BENCHMARK(BM_PaintPlainView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintColouredView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintBinaryView)->Unit(benchmark::kMillisecond);

}  // namespace
