#include "apps/brontel/TerminalView.h"

#include <cstdio>
#include <string>

namespace brontel::app {
namespace {

std::string RgbEscape(int selector, ui::Color color) {
  const ui::Color plain = ui::ResolveColor(color);
  char text[32];
  std::snprintf(text, sizeof text, "\x1b[%d;2;%u;%u;%um", selector, plain & 0xFFu,
                (plain >> 8) & 0xFFu, (plain >> 16) & 0xFFu);
  return text;
}

// The colours of a line are those of its character position 1: the classification paints the
// whole line in one colour from there on.
std::string AnsiStart(const ui::TextAttr& attr) {
  std::string escape = "\x1b[0m";
  if (HasStyle(attr.style, ui::FontStyle::Bold))
    escape += "\x1b[1m";
  if (HasStyle(attr.style, ui::FontStyle::Italic))
    escape += "\x1b[3m";
  if (HasStyle(attr.style, ui::FontStyle::Underline))
    escape += "\x1b[4m";
  if (attr.foreground != ui::clNone)
    escape += RgbEscape(38, attr.foreground);
  if (attr.background != ui::clNone)
    escape += RgbEscape(48, attr.background);
  return escape;
}

ui::TextAttr LineAttr(ui::TRAHLEditor& editor, std::size_t index, ui::LineAttrs& attrs) {
  attrs.fill(ui::TextAttr{});
  if (editor.OnGetLineAttr)
    editor.OnGetLineAttr(editor, editor.Line(index), index, attrs);
  return attrs[1];
}

}  // namespace

void WriteView(TForm1& viewer, const TerminalViewOptions& options, std::ostream& out) {
  ui::TRAHLEditor& editor = viewer.editor();
  if (options.status)
    out << viewer.controls().Label2.Caption() << '\n';
  const std::size_t count = editor.LineCount();
  const std::size_t first =
      options.lastLines != 0 && count > options.lastLines ? count - options.lastLines : 0;
  ui::LineAttrs attrs;
  for (std::size_t i = first; i < count; ++i) {
    if (options.ansi) {
      out << AnsiStart(LineAttr(editor, i, attrs)) << editor.Line(i) << "\x1b[0m\n";
    } else {
      out << editor.Line(i) << '\n';
    }
  }
}

}  // namespace brontel::app
