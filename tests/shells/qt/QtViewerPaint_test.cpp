// The viewer's window as it paints: line colours in a grab, binary lines, the caret gutter.

#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "tests/shells/qt/QtViewerFixture.h"

namespace brontel::qt::testing {
namespace {

using QtViewerPaintTest = QtViewerFixture;

// The viewer's window that the grab shows (the host's window holds it at some offset).
const QWidget* ViewerWindowOf(const QtTextView& view) {
  const QWidget* form = &view;
  while (form->parentWidget() != nullptr && dynamic_cast<const QtFormWindow*>(form) == nullptr)
    form = form->parentWidget();
  return form;
}

struct RowColours {
  int red = 0;
  int white = 0;
  int other = 0;
};

// The colours along the middle of text row `row` of the view, right of the gutter.
RowColours ColoursOfRow(const QImage& image, const QtTextView& view, const ui::TRAHLEditor& editor,
                        int row) {
  RowColours colours;
  const QPoint origin = view.viewport()->mapTo(ViewerWindowOf(view), QPoint(0, 0));
  const ui::Size cell = editor.CellSize();
  const int y = origin.y() + (row - editor.TopRow()) * cell.height + cell.height / 2;
  const int right = origin.x() + editor.GutterWidth() + 40 * cell.width;
  for (int x = origin.x() + editor.GutterWidth(); x < right; ++x) {
    const QColor pixel = image.pixelColor(x, y);
    if (pixel == QColor(255, 0, 0))
      ++colours.red;
    else if (pixel.red() > 200 && pixel.green() > 200 && pixel.blue() > 200)
      ++colours.white;
    else
      ++colours.other;
  }
  return colours;
}

// Red pixels in the cell of column 0 of text row `row`: the line's marker character.
int RedInFirstCell(const QImage& image, const QtTextView& view, const ui::TRAHLEditor& editor,
                   int row) {
  const QPoint origin = view.viewport()->mapTo(ViewerWindowOf(view), QPoint(0, 0));
  const ui::Size cell = editor.CellSize();
  const int top = origin.y() + (row - editor.TopRow()) * cell.height;
  const int left = origin.x() + editor.GutterWidth();
  int red = 0;
  for (int y = top; y < top + cell.height; ++y) {
    for (int x = left; x < left + cell.width; ++x)
      red += image.pixelColor(x, y) == QColor(255, 0, 0);
  }
  return red;
}

TEST_F(QtViewerPaintTest, GrabShowsTheErrorLineWhiteOnRed) {
  Open();
  const int error = LineStartingWith("E ");
  const int plain = LineStartingWith("I ");
  ASSERT_GE(error, 0);
  ASSERT_GE(plain, 0);
  viewer->editor().SetTopRow(std::min(error, plain));
  viewer->editor().MoveCaret(viewer->editor().TopRow(), 0);
  QCoreApplication::processEvents();

  const QString png = QString::fromStdString(folder.File("viewer.png"));
  ASSERT_TRUE(viewer->window()->grab().save(png, "PNG"));
  const QImage image(png);
  ASSERT_EQ(image.size(), QSize(657, 595));
  const RowColours errorRow = ColoursOfRow(image, *view(), viewer->editor(), error);
  EXPECT_GT(errorRow.red, errorRow.white);  // red background
  EXPECT_GT(errorRow.white, 10);            // white letters
  // The whole line, its marker "E" included.
  EXPECT_GT(RedInFirstCell(image, *view(), viewer->editor(), error), 0);
  const RowColours plainRow = ColoursOfRow(image, *view(), viewer->editor(), plain);
  EXPECT_EQ(plainRow.red, 0);
  EXPECT_GT(plainRow.white, plainRow.other);  // dark letters on the window colour

  if (const char* copy = std::getenv("BRONTEL_SCREENSHOT"))
    viewer->window()->grab().save(QString::fromLocal8Bit(copy), "PNG");
}

TEST_F(QtViewerPaintTest, ALongErrorLineIsRedToItsEnd) {
  folder.Write(logPath, "I\tstart\nE\t" + std::string(3000, 'x') + " end\nI\tdone\n");
  Open();
  const int error = LineStartingWith("E ");
  ASSERT_GE(error, 0);
  viewer->editor().ScrollTo(2960, error);
  QCoreApplication::processEvents();
  const QImage image = viewer->window()->grab().toImage();
  const RowColours errorRow = ColoursOfRow(image, *view(), viewer->editor(), error);
  EXPECT_GT(errorRow.red, errorRow.white);
}

TEST_F(QtViewerPaintTest, BinaryLinesPaintOneCellPerByte) {
  Open();
  const int binary = LineStartingWith("I   10:01:03 payload");
  ASSERT_GE(binary, 0);
  viewer->editor().SetTopRow(binary);
  QImage image = viewer->window()->grab().toImage();
  EXPECT_FALSE(image.isNull());
  // The text after the binary bytes stays in the columns of its bytes.
  const ui::Size cell = viewer->editor().CellSize();
  const std::string_view line = viewer->editor().Line(static_cast<std::size_t>(binary));
  const int dumped = static_cast<int>(line.find("dumped"));
  ASSERT_GT(dumped, 0);
  const QPoint origin = view()->viewport()->mapTo(viewer->window(), QPoint(0, 0));
  int inked = 0;
  for (int x = 0; x < cell.width * 6; ++x) {
    for (int y = 1; y < cell.height - 1; ++y) {
      const QColor pixel = image.pixelColor(
          origin.x() + viewer->editor().GutterWidth() + dumped * cell.width + x, origin.y() + y);
      if (pixel.lightness() < 128)
        ++inked;
    }
  }
  EXPECT_GT(inked, 10);
}

}  // namespace
}  // namespace brontel::qt::testing
