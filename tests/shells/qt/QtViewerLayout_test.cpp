// The viewer's window in Qt widgets: its controls, their places and looks, and resizing.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <functional>

#include "shells/qt/GlyphButton.h"
#include "tests/shells/qt/QtViewerFixture.h"

namespace brontel::qt::testing {
namespace {

using QtViewerLayoutTest = QtViewerFixture;

TEST_F(QtViewerLayoutTest, TheWindowIsTheHostsChildAndItsHandle) {
  Open();
  QtFormWindow* window = viewer->window();
  EXPECT_EQ(window->parentWidget(), host.parent());
  EXPECT_EQ(viewer->NativeHandle(), reinterpret_cast<std::uintptr_t>(window));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->size(), QSize(657, 595));
  EXPECT_EQ(window->focusProxy(), view());
}

TEST_F(QtViewerLayoutTest, TopBarHoldsTheOptionsButtonAndTheStatusText) {
  Open();
  auto* options = Widget<QToolButton>(c().SpeedButton1);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->text(), QStringLiteral("O&ptions..."));
  EXPECT_EQ(options->geometry(), QRect(2, 1, 71, 16));
  EXPECT_EQ(options->parentWidget()->objectName(), QStringLiteral("Panel3"));
  EXPECT_TRUE(Widget<QWidget>(c().Panel1)->isVisible());  // shown with the window
  EXPECT_EQ(Widget<QWidget>(c().Panel1)->geometry(), QRect(0, 0, 657, 20));
  auto* status = Widget<QLabel>(c().Label2);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->text(), QString::fromStdString(c().Label2.Caption()));
  EXPECT_NE(status->text(), QStringLiteral("unnamed"));  // the tail load wrote its status
  EXPECT_EQ(status->parentWidget()->objectName(), QStringLiteral("Panel4"));
}

TEST_F(QtViewerLayoutTest, NavigationBlockHasColourBarsAndArrowsWithHints) {
  Open();
  QWidget* block = Widget<QWidget>(c().Panel5);
  EXPECT_EQ(block->geometry(), QRect(601, 23, 35, 25));
  EXPECT_EQ(block->palette().color(QPalette::Window), QColor(0xE2, 0xE2, 0xE2));
  EXPECT_EQ(Widget<QWidget>(c().Panel6)->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(Widget<QWidget>(c().Panel7)->palette().color(QPalette::Window), QColor(Qt::yellow));
  EXPECT_EQ(Widget<QWidget>(c().Panel8)->palette().color(QPalette::Window), QColor(Qt::black));
  auto* nextUrgent = Widget<GlyphButton>(c().Button6);
  ASSERT_NE(nextUrgent, nullptr);
  EXPECT_EQ(GlyphButton::GlyphOf(nextUrgent->text()), GlyphButton::Glyph::Down);
  EXPECT_EQ(nextUrgent->toolTip(), QStringLiteral("Goto next urgent (Ctrl-U)"));
  EXPECT_EQ(GlyphButton::GlyphOf(Widget<QPushButton>(c().Button2)->text()), GlyphButton::Glyph::Up);
  // The navigation block stays above the text view.
  EXPECT_EQ(viewer->window()->childAt(610, 30)->parentWidget(), block);
}

TEST_F(QtViewerLayoutTest, OptionsPanelHoldsItsControlsHiddenUntilAsked) {
  Open();
  QWidget* panel = Widget<QWidget>(c().Panel9);
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(panel->geometry(), QRect(11, 22, 195, 193));
  auto* tail = Widget<QCheckBox>(c().chkActive);
  EXPECT_EQ(tail->text(), QStringLiteral("Auto tail mode (Ctrl-T)"));
  EXPECT_EQ(tail->pos(), QPoint(7, 4));
  EXPECT_TRUE(tail->isChecked());
  EXPECT_EQ(Widget<QCheckBox>(c().CheckBox2)->text(), QStringLiteral("Auto cycle (Ctrl-Y)"));
  EXPECT_FALSE(Widget<QCheckBox>(c().chkComplete)->isChecked());
  auto* sizes = Widget<QComboBox>(c().comBufferSize);
  EXPECT_EQ(sizes->count(), 7);
  EXPECT_EQ(sizes->itemText(6), QStringLiteral("1 MB"));
  EXPECT_EQ(sizes->currentIndex(), 2);
  EXPECT_EQ(sizes->geometry().topLeft(), QPoint(99, 80));
  EXPECT_EQ(Widget<QComboBox>(c().comMaxHistLines)->currentText(), QStringLiteral("1 000"));
  auto* basename = Widget<QLabel>(c().Label3);
  EXPECT_EQ(basename->buddy(), Widget<QWidget>(c().Edit1));
  auto* close = Widget<GlyphButton>(c().Button7);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(GlyphButton::GlyphOf(close->text()), GlyphButton::Glyph::Cross);
  EXPECT_EQ(close->focusPolicy(), Qt::NoFocus);
}

// How much wider the widget of a caption must be than it is to show the whole caption in the
// font it got (<= 0: it fits); a check box draws its text in the style's contents rectangle.
int MissingWidth(QWidget* widget, QSize size) {
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    const int flags = label->buddy() != nullptr ? Qt::TextShowMnemonic : 0;
    return label->fontMetrics().size(flags, label->text()).width() - size.width();
  }
  auto* button = qobject_cast<QAbstractButton*>(widget);
  const int text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
  if (qobject_cast<QCheckBox*>(widget) == nullptr)
    return text - size.width();
  QStyleOptionButton option;
  option.initFrom(widget);
  option.rect = QRect(QPoint(), size);
  option.text = button->text();
  return text -
         widget->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, widget).width();
}

bool HasCaption(const ui::Control& control, QWidget* widget) {
  if (widget == nullptr || control.GetAlign() != ui::Align::None || control.Caption().empty())
    return false;
  return qobject_cast<QLabel*>(widget) != nullptr ||
         (qobject_cast<QAbstractButton*>(widget) != nullptr &&
          dynamic_cast<GlyphButton*>(widget) == nullptr);
}

// Also run at 125 % and 150 % scale (QT_SCALE_FACTOR, see CMakeLists.txt).
TEST_F(QtViewerLayoutTest, EveryCaptionFitsAtItsDesignedPlace) {
  Open();
  int captions = 0;
  std::function<void(const ui::Control&)> check = [&](const ui::Control& parent) {
    for (const ui::Control* control : parent.Children()) {
      check(*control);
      QWidget* widget = viewer->window()->WidgetOf(*control);
      if (!HasCaption(*control, widget))
        continue;
      ++captions;
      const ui::Rect& b = control->Bounds();
      const QRect designed(b.left, b.top, b.Width(), b.Height());
      const QRect shown = widget->geometry();
      const int height = widget->fontMetrics().height();
      EXPECT_LE(MissingWidth(widget, shown.size()), 0) << control->name();
      EXPECT_GE(shown.height(), height) << control->name();
      if (MissingWidth(widget, designed.size()) <= 0 && height <= designed.height()) {
        EXPECT_EQ(shown, designed) << control->name();
        continue;
      }
      for (const ui::Control* other : parent.Children()) {  // grown into no new neighbour
        QWidget* neighbour = viewer->window()->WidgetOf(*other);
        if (other != control && neighbour != nullptr &&
            !designed.intersects(neighbour->geometry())) {
          EXPECT_FALSE(shown.intersects(neighbour->geometry()))
              << control->name() << " reaches " << other->name();
        }
      }
    }
  };
  check(*viewer);
  EXPECT_EQ(captions, 18);  // 8 of them in the find bar
}

TEST_F(QtViewerLayoutTest, HostResizeMovesTheLayoutAndTheViewKeepsItsRowsVisible) {
  Open();
  viewer->window()->resize(800, 400);
  QCoreApplication::processEvents();
  EXPECT_EQ(Widget<QWidget>(c().Panel5)->geometry(), QRect(744, 23, 35, 25));
  EXPECT_EQ(view()->geometry(), QRect(0, 20, 800, 380));
  // The model's client is the viewport, so its visible rows are the rows on screen.
  const QSize viewport = view()->viewport()->size();
  EXPECT_EQ(viewer->editor().ClientWidth(), viewport.width());
  EXPECT_EQ(viewer->editor().ClientHeight(), viewport.height());
  EXPECT_EQ(viewer->editor().VisibleRows(), viewport.height() / viewer->editor().CellSize().height);
}

TEST_F(QtViewerLayoutTest, ScrollBarsFollowTheViewBothWays) {
  folder.Write(logPath, SampleLog(300));
  Open();
  ui::TRAHLEditor& editor = viewer->editor();
  QScrollBar* bar = view()->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), editor.TopRow());  // auto follow keeps the end in view
  EXPECT_EQ(bar->pageStep(), editor.VisibleRows());
  bar->setValue(0);  // the user drags it to the top
  EXPECT_EQ(editor.TopRow(), 0);
  editor.SetTopRow(5);
  EXPECT_EQ(bar->value(), 5);
}

}  // namespace
}  // namespace brontel::qt::testing
