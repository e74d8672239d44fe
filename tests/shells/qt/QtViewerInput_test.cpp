// The viewer's window in Qt widgets: clicks, keys, the options panel, the context menu, and
// keys handed back to the host.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include "shells/headless/MemoryClipboard.h"
#include "shells/qt/GlyphButton.h"
#include "tests/shells/qt/QtViewerFixture.h"

namespace brontel::qt::testing {
namespace {

class QtViewerInputTest : public QtViewerFixture {
 protected:
  void Type(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, key, modifiers);
    QCoreApplication::processEvents();  // the posted hand-backs arrive
  }
  void ClickOptions() { QTest::mouseClick(Widget<QToolButton>(c().SpeedButton1), Qt::LeftButton); }
  QWidget* OptionsPanel() { return Widget<QWidget>(c().Panel9); }
};

TEST_F(QtViewerInputTest, OptionsButtonTogglesThePanelAndItsPoll) {
  Open();
  ClickOptions();
  EXPECT_TRUE(OptionsPanel()->isVisible());
  EXPECT_TRUE(c().Panel9.Visible());
  EXPECT_FALSE(c().Timer2->Enabled());  // no polling while the options are edited
  EXPECT_FALSE(toolkit.timers().QTimerOf(*c().Timer2)->isActive());
  ClickOptions();
  EXPECT_FALSE(OptionsPanel()->isVisible());
  EXPECT_TRUE(c().Timer2->Enabled());
  ClickOptions();
  QTest::mouseClick(Widget<GlyphButton>(c().Button7), Qt::LeftButton);
  EXPECT_FALSE(OptionsPanel()->isVisible());
}

TEST_F(QtViewerInputTest, OptionControlsChangeTheOptions) {
  Open();
  ClickOptions();
  auto* follow = Widget<QCheckBox>(c().CheckBox1);
  QTest::mouseClick(follow, Qt::LeftButton, Qt::NoModifier, QPoint(6, follow->height() / 2));
  EXPECT_FALSE(viewer->options().AutoFollowMode);
  auto* sizes = Widget<QComboBox>(c().comBufferSize);
  emit sizes->activated(4);  // the user picks "100 KB" from the list
  EXPECT_EQ(c().comBufferSize.ItemIndex(), 4);
  EXPECT_EQ(viewer->options().LastBufferSizeIndex, 4);
  auto* tail = Widget<QCheckBox>(c().chkActive);
  QTest::mouseClick(tail, Qt::LeftButton, Qt::NoModifier, QPoint(6, tail->height() / 2));
  EXPECT_FALSE(c().chkActive.Checked());
  // Auto tail off disables the controls that depend on it.
  EXPECT_FALSE(sizes->isEnabled());
  EXPECT_FALSE(follow->isEnabled());
  EXPECT_TRUE(Widget<QCheckBox>(c().chkComplete)->isEnabled());
}

TEST_F(QtViewerInputTest, ArrowButtonsAndMenuJumpToMarkedLines) {
  Open();
  ui::TRAHLEditor& editor = viewer->editor();
  editor.MoveCaret(1, 0);
  QTest::mouseClick(Widget<GlyphButton>(c().Button1), Qt::LeftButton);  // next error
  EXPECT_GT(editor.CaretRow(), 1);
  EXPECT_EQ(editor.Line(static_cast<std::size_t>(editor.CaretRow())).substr(0, 2), "E ");

  QTest::mouseClick(view()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(60, 40));
  QMenu* menu = view()->ShownMenu();
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* action : menu->actions())
    texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(texts.size(), 12);
  EXPECT_EQ(texts.at(0), QStringLiteral("Copy\tCtrl+C"));
  EXPECT_EQ(texts.at(1), QStringLiteral("Select &all\tCtrl+A"));  // the item's own shortcut
  EXPECT_EQ(texts.at(2), QStringLiteral("-"));
  EXPECT_EQ(texts.at(5), QStringLiteral("Goto next error\tCtrl+E"));
  EXPECT_EQ(texts.at(11), QStringLiteral("&Find and filter...\tCtrl+B"));
  menu->findChild<QAction*>(QStringLiteral("Selectall1"))->trigger();
  EXPECT_EQ(viewer->GetSelLength(), viewer->GetTextLength());
  menu->close();
}

// With a preset's types, chosen for the file by itself, the jumps are named after them.
TEST_F(QtViewerInputTest, JumpsAreNamedAfterTheTypesInUse) {
  logPath = folder.File("syslog");
  folder.Write(logPath, "Dec 10 09:12:01 host kernel: EXT4-fs error (device sda1): bad block\n");
  Open();
  EXPECT_EQ(Widget<GlyphButton>(c().Button6)->toolTip(),
            QStringLiteral("Goto next critical (Ctrl-U)"));
  QTest::mouseClick(view()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(60, 20));
  QMenu* menu = view()->ShownMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->actions().at(8)->text(), QStringLiteral("Goto previous critical\tShift+Ctrl+U"));
  menu->close();
}

TEST_F(QtViewerInputTest, ViewerKeysWorkInTheTextViewAndStayThere) {
  Open();
  Type(view(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_FALSE(c().chkActive.Checked());
  EXPECT_FALSE(Widget<QCheckBox>(c().chkActive)->isChecked());
  Type(view(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);  // only exactly Ctrl+T
  EXPECT_FALSE(c().chkActive.Checked());
  ui::TRAHLEditor& editor = viewer->editor();
  editor.MoveCaret(0, 0);
  Type(view(), Qt::Key_Down);
  EXPECT_EQ(editor.CaretRow(), 1);
  Type(view(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(editor.Line(static_cast<std::size_t>(editor.CaretRow())).substr(0, 2), "E ");
  // "Goto History" has no entry in the key table: its shortcut runs it, once.
  const int last = editor.RowCount() - 1;
  editor.MoveCaret(last, 0);
  viewer->actGotoHistoryExecute();
  const int history = editor.CaretRow();
  ASSERT_NE(history, last);
  editor.MoveCaret(last, 0);
  Type(view(), Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(editor.CaretRow(), history);
  EXPECT_TRUE(host.keys.empty());  // none of these, presses or releases, reached the host
}

TEST_F(QtViewerInputTest, MouseAndWheelMoveCaretSelectionAndView) {
  folder.Write(logPath, SampleLog(300));
  Open();
  ui::TRAHLEditor& editor = viewer->editor();
  editor.SetTopRow(0);
  const ui::Size cell = editor.CellSize();
  const QPoint third(editor.GutterWidth() + 4 * cell.width + 1, 2 * cell.height + 1);
  QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, third);
  EXPECT_TRUE(view()->hasFocus());
  EXPECT_EQ(editor.CaretRow(), 2);
  EXPECT_EQ(editor.CaretCol(), 4);
  QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    third + QPoint(0, cell.height));
  EXPECT_GT(viewer->GetSelLength(), 0);  // Shift extends the selection

  // Copied with the platform's line ends; the mouse selection is the primary selection too.
  Type(view(), Qt::Key_C, Qt::ControlModifier);
  QString selected = QString::fromStdString(std::string(editor.SelectedText()));
  ASSERT_TRUE(selected.contains(QStringLiteral("\r\n")));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), selected.replace(QStringLiteral("\r\n"), "\n"));
  headless::MemoryClipboard primary;
  editor.SetClipboard(&primary);
  QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    third + QPoint(cell.width, 2 * cell.height));
  EXPECT_EQ(primary.SelectionText(), editor.SelectedText());
  editor.SetClipboard(&toolkit.clipboard());

  QWheelEvent down(QPointF(50, 50), QPointF(view()->viewport()->mapToGlobal(QPoint(50, 50))),
                   QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                   false);
  QCoreApplication::sendEvent(view()->viewport(), &down);
  EXPECT_EQ(editor.TopRow(), 3);  // three rows a notch
  EXPECT_EQ(view()->verticalScrollBar()->value(), 3);
}

TEST_F(QtViewerInputTest, AMatchBeyondColumn1024IsSelectedShownAndSearchedOnFrom) {
  folder.Write(logPath, "I\tstart\n" + std::string(1500, '.') + "needle" + std::string(300, '.') +
                            "NEEDLE\n");
  Open();
  ui::TRAHLEditor& editor = viewer->editor();
  const TextOffset first = viewer->FindText("needle", 0, 0);
  ASSERT_NE(first, kNotFound);
  QCoreApplication::processEvents();
  EXPECT_EQ(editor.CaretCol(), 1506);
  EXPECT_LT(editor.LeftCol(), 1500);  // the match is in view
  EXPECT_GE(editor.LeftCol() + editor.VisibleCols(), 1506);
  EXPECT_EQ(view()->horizontalScrollBar()->value(), editor.LeftCol());
  Type(view(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("needle"));
  EXPECT_EQ(viewer->FindText("needle", 0, 0), first + 306);
  Type(view(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("NEEDLE"));
  EXPECT_EQ(view()->horizontalScrollBar()->value(), editor.LeftCol());
  EXPECT_EQ(viewer->FindText("needle", 0, kSearchBackwards), first);
}

TEST_F(QtViewerInputTest, HandedBackKeysReachTheHostAsTyped) {
  Open();
  Type(view(), Qt::Key_F7);
  Type(view(), Qt::Key_Q, Qt::ControlModifier);
  Type(view(), Qt::Key_F, Qt::ControlModifier);  // options hidden: the host's
  Type(view(), Qt::Key_3);
  QTest::keyClick(view(), Qt::Key_NumberSign, Qt::ShiftModifier);  // Shift+3 does nothing
  QCoreApplication::processEvents();
  const std::vector<ReceivedKey> presses = host.KeysAt(QEvent::KeyPress);
  ASSERT_EQ(presses.size(), 4u);
  EXPECT_EQ(presses[0].key, Qt::Key_F7);
  EXPECT_EQ(presses[1].key, Qt::Key_Q);
  EXPECT_EQ(presses[2].key, Qt::Key_F);
  EXPECT_EQ(presses[3].key, Qt::Key_3);
  EXPECT_EQ(presses[3].text, QStringLiteral("3"));
  for (const ReceivedKey& key : presses)
    EXPECT_TRUE(key.spontaneous);
  EXPECT_TRUE(host.KeysAt(QEvent::KeyRelease).empty());
}

TEST_F(QtViewerInputTest, NextFileKeyMovesTheFocusToTheHostAndTypesIt) {
  Open();
  view()->setFocus();
  Type(view(), Qt::Key_N);
  EXPECT_TRUE(host.area->hasFocus());
  ASSERT_EQ(host.keys.size(), 2u);
  EXPECT_EQ(host.keys[0].type, QEvent::KeyPress);
  EXPECT_EQ(host.keys[0].key, Qt::Key_N);
  EXPECT_EQ(host.keys[1].type, QEvent::KeyRelease);
}

TEST_F(QtViewerInputTest, EscClosesTheOptionsPanelFirstThenTheHostsViewer) {
  Open();
  ClickOptions();
  auto* tail = Widget<QCheckBox>(c().chkActive);
  EXPECT_TRUE(tail->hasFocus());               // the panel gives it the focus
  Type(tail, Qt::Key_F, Qt::ControlModifier);  // with the panel open: auto follow
  EXPECT_FALSE(c().CheckBox1.Checked());
  EXPECT_FALSE(Widget<QCheckBox>(c().CheckBox1)->isChecked());
  Type(tail, Qt::Key_Escape);
  EXPECT_FALSE(OptionsPanel()->isVisible());
  EXPECT_TRUE(host.keys.empty());
  Type(view(), Qt::Key_Escape);
  const std::vector<ReceivedKey> presses = host.KeysAt(QEvent::KeyPress);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].key, Qt::Key_Escape);
  EXPECT_TRUE(presses[0].spontaneous);
}

// However the panel closes, the text view has the focus again and the viewer's keys work.
TEST_F(QtViewerInputTest, ClosingTheOptionsPanelGivesTheTextViewTheFocus) {
  Open();
  ClickOptions();
  Type(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(view()->hasFocus());
  ClickOptions();
  QTest::mouseClick(Widget<GlyphButton>(c().Button7), Qt::LeftButton);
  EXPECT_TRUE(view()->hasFocus());
  ClickOptions();
  auto* complete = Widget<QCheckBox>(c().chkComplete);
  QTest::mouseClick(complete, Qt::LeftButton, Qt::NoModifier, QPoint(6, complete->height() / 2));
  EXPECT_TRUE(view()->hasFocus());
  Type(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);  // back to the tail
  EXPECT_TRUE(Widget<QCheckBox>(c().chkActive)->isChecked());
}

TEST_F(QtViewerInputTest, TheBasenameFieldAndTheListsKeepTheirOwnKeys) {
  Open();
  ClickOptions();
  auto* basename = Widget<QLineEdit>(c().Edit1);
  basename->setFocus();
  ASSERT_TRUE(basename->hasFocus());
  QTest::keyClicks(basename, QStringLiteral("app1np"));
  for (Qt::Key key : {Qt::Key_Home, Qt::Key_Delete, Qt::Key_End, Qt::Key_Left, Qt::Key_Backspace})
    Type(basename, key);
  EXPECT_EQ(basename->text(), QStringLiteral("pp1p"));
  EXPECT_EQ(c().Edit1.Text(), "pp1p");
  auto* sizes = Widget<QComboBox>(c().comBufferSize);
  sizes->setFocus();
  Type(sizes, Qt::Key_Home);
  Type(sizes, Qt::Key_Down);
  EXPECT_EQ(c().comBufferSize.ItemIndex(), 1);
  Type(sizes, Qt::Key_1);  // the first size that begins with 1
  EXPECT_EQ(c().comBufferSize.Items()[static_cast<std::size_t>(sizes->currentIndex())].front(),
            '1');
  EXPECT_EQ(c().comBufferSize.ItemIndex(), sizes->currentIndex());
  EXPECT_TRUE(host.keys.empty());
  EXPECT_TRUE(sizes->hasFocus());
  Type(sizes, Qt::Key_Escape);  // the keys a list leaves still reach the key table
  EXPECT_FALSE(OptionsPanel()->isVisible());
}

TEST_F(QtViewerInputTest, ClosingDeletesTheWindowOnceTheEventLoopRuns) {
  Open();
  QPointer<QtFormWindow> window = viewer->window();
  viewer->Close();
  viewer = nullptr;  // the close frees it
  EXPECT_FALSE(window.isNull());
  EXPECT_FALSE(window->isVisible());
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.isNull());
}

TEST_F(QtViewerInputTest, AHostThatDeletesItsWidgetFirstLeavesAViewerThatStillCloses) {
  Open();
  delete host.area;  // the viewport with our window in it
  host.area = nullptr;
  EXPECT_EQ(viewer->window(), nullptr);
  QTest::qWait(120);  // timers keep running on the models
  viewer->Close();
  viewer = nullptr;
  QCoreApplication::processEvents();
}

TEST_F(QtViewerInputTest, TheFindBarTakesItsTypingFindsFiltersAndClosesOnEsc) {
  Open();
  FindBar& bar = c().findBar;
  Type(view(), Qt::Key_B, Qt::ControlModifier);
  auto* field = Widget<QLineEdit>(bar.edtFind);
  ASSERT_TRUE(field->isVisible());
  EXPECT_TRUE(field->hasFocus());
  // Letters, digits, blanks, N and P stay in the field.
  QTest::keyClicks(field, QStringLiteral("Timeout after 30"));
  EXPECT_EQ(bar.edtFind.Text(), "Timeout after 30");
  Type(field, Qt::Key_Return);
  EXPECT_EQ(viewer->editor().SelectedText(), "timeout after 30");
  EXPECT_EQ(Widget<QLabel>(bar.lblFindStatus)->text().left(12), QStringLiteral("match 1 of 2"));
  QTest::mouseClick(Widget<QAbstractButton>(bar.btnFilter), Qt::LeftButton);
  const int separator = LineStartingWith("|   Error:1");
  ASSERT_GE(separator, 0);
  EXPECT_EQ(viewer->editor().Line(static_cast<std::size_t>(separator) + 1).substr(0, 4), "E   ");
  EXPECT_EQ(LineStartingWith("I   "), -1);            // no plain line is left in the body
  Type(QApplication::focusWidget(), Qt::Key_Escape);  // the button clicked has the focus
  EXPECT_FALSE(Widget<QWidget>(bar.pnlFindBar)->isVisible());
  EXPECT_TRUE(host.keys.empty());
}

// The menu beside the type list opens by mouse and by keyboard, shows each type's check and
// toggles it into the set the list shows.
TEST_F(QtViewerInputTest, TheTypeMenuShowsAndTogglesTheChecksOfTheTypes) {
  Open();
  FindBar& bar = c().findBar;
  Type(view(), Qt::Key_B, Qt::ControlModifier);
  auto* button = Widget<QAbstractButton>(bar.btnFilterTypes);
  QTest::mouseClick(button, Qt::LeftButton);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  auto* warning = menu->findChild<QAction*>(QStringLiteral("Warning"));
  ASSERT_NE(warning, nullptr);
  EXPECT_TRUE(warning->isCheckable());
  EXPECT_FALSE(warning->isChecked());
  Type(menu, Qt::Key_Down);  // counted
  Type(menu, Qt::Key_Down);  // Error, past the line
  Type(menu, Qt::Key_Down);
  Type(menu, Qt::Key_Return);
  EXPECT_EQ(Widget<QComboBox>(bar.comFilterTypes)->currentText(), QStringLiteral("Warning"));
  Type(button, Qt::Key_Space);
  menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("Warning"))->isChecked());
  menu->findChild<QAction*>(QStringLiteral("Error"))->trigger();
  menu->close();
  EXPECT_EQ(Widget<QComboBox>(bar.comFilterTypes)->currentText(), QStringLiteral("Warning, Error"));
}

}  // namespace
}  // namespace brontel::qt::testing
