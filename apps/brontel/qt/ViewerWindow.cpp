#include "apps/brontel/qt/ViewerWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "apps/brontel/qt/FindDialog.h"
#include "apps/brontel/qt/QtKeys.h"

namespace brontel::app {

ViewerWindow::ViewerWindow(const ListerEntryPoints& module, int showFlags)
    : area_(new QScrollArea(this)),
      notice_(new QLabel(this)),
      session_(module, area_->viewport(), showFlags) {
  setAttribute(Qt::WA_DeleteOnClose);
  area_->setFrameShape(QFrame::NoFrame);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area_->setFocusPolicy(Qt::StrongFocus);
  area_->installEventFilter(this);
  area_->viewport()->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(area_);
  notice_->setContentsMargins(4, 2, 4, 2);
  notice_->hide();
  layout->addWidget(notice_);
  resize(800, 600);
}

bool ViewerWindow::Open(const QString& file) {
  if (!session_.Open(file.toStdString()))
    return false;
  PlaceViewer();
  ShowFileInTitle();
  return true;
}

QWidget* ViewerWindow::viewerWidget() const {
  return static_cast<QWidget*>(session_.viewer());
}

void ViewerWindow::PlaceViewer() {
  QWidget* viewer = viewerWidget();
  if (viewer == nullptr)
    return;
  viewer->setGeometry(area_->viewport()->rect());
  viewer->show();
  viewer->setFocus();
}

void ViewerWindow::ShowFileInTitle() {
  const QFileInfo info(QString::fromStdString(session_.file()));
  setWindowTitle(QStringLiteral("%1 (%2) - brontel").arg(info.fileName(), info.absolutePath()));
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
  if (watched == area_->viewport()) {
    if (event->type() == QEvent::Resize) {
      if (QWidget* viewer = viewerWidget())
        viewer->setGeometry(area_->viewport()->rect());
    }
    if (isKey) {
      event->accept();
      return true;
    }
  }
  if (watched == area_ && event->type() == QEvent::KeyPress)
    return HandleKey(static_cast<QKeyEvent&>(*event));
  return QWidget::eventFilter(watched, event);
}

bool ViewerWindow::HandleKey(QKeyEvent& key) {
  const HostCommand command = CommandForKey(VirtualKeyOf(key), ShiftStateOf(key));
  if (command == HostCommand::None)
    return false;
  RunCommand(command);
  key.accept();
  return true;
}

bool ViewerWindow::RunCommand(HostCommand command) {
  switch (command) {
    case HostCommand::CloseWindow:
      close();
      return true;
    case HostCommand::OpenFind:
      OpenFindDialog();
      return true;
    case HostCommand::FindNext:
    case HostCommand::FindReverse:
      FindAgain(command == HostCommand::FindReverse);
      return true;
    case HostCommand::NextFile:
    case HostCommand::PreviousFile:
      StepFile(command == HostCommand::NextFile ? FolderStep::Next : FolderStep::Previous);
      return true;
    case HostCommand::Swallow:
      return true;
    case HostCommand::None:
      break;
  }
  return false;
}

void ViewerWindow::OpenFindDialog() {
  FindDialog dialog(session_.lastSearch(), this);
  if (dialog.exec() == QDialog::Accepted)
    ReportSearch(session_.Find(dialog.request()));
  if (QWidget* viewer = viewerWidget())
    viewer->setFocus();
}

void ViewerWindow::FindAgain(bool reverse) {
  if (!session_.HasSearch()) {
    OpenFindDialog();
    return;
  }
  ReportSearch(session_.FindAgain(reverse));
}

void ViewerWindow::ReportSearch(bool found) {
  const bool report = !found && !session_.lastSearch().text.empty();
  notice_->setVisible(report);
  if (found)
    return;
  if (report)
    notice_->setText(
        QStringLiteral("\"%1\" not found").arg(QString::fromStdString(session_.lastSearch().text)));
  QApplication::beep();
}

void ViewerWindow::StepFile(FolderStep step) {
  if (session_.Step(step)) {
    notice_->hide();
    PlaceViewer();
    ShowFileInTitle();
  } else {
    QApplication::beep();
  }
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
  session_.Close();
  event->accept();
}

}  // namespace brontel::app
